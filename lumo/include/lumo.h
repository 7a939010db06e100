/* lumo: sequence records, the sequence array, DNA alphabet tables and the
 * occurrence-to-expectation statistic. C99 and C++ compatible. */
#ifndef LUMO_H
#define LUMO_H

#ifdef __cplusplus
extern "C" {
#endif

/* One loaded sequence. Each non-null text pointer owns its own heap block
 * from the malloc family; free_string releases them and then the record. */
typedef struct STRING {
  char *sequence;    /* the text in alphabet `alphabet`, `length` characters */
  char *desc_string; /* description; read by no library operation */
  char *raw_seq;     /* the raw text, in alphabet `raw_alpha` */
  int length;        /* number of characters of the sequence */
  int alphabet;      /* alphabet number of `sequence`; 0 means none */
  int raw_alpha;     /* alphabet number of `raw_seq` */
  int db_type;       /* the caller's type code; untouched by the library */
  int alpha_size;    /* number of symbols of the alphabet of `sequence` */
  char ident[51];    /* identifier, empty when made */
  char title[201];   /* title, empty when made */
} STRING;

#ifdef __cplusplus
}
#endif

#endif /* LUMO_H */
