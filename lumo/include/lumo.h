/* lumo: sequence records, the sequence array, DNA alphabet tables and the
 * occurrence-to-expectation statistic. C99 and C++ compatible.
 *
 * The library keeps process-wide state (one sequence array, one alphabet
 * table set) without locks: use it from one thread at a time. No function
 * throws, and only create_seq_array ends the process. */
#ifndef LUMO_H
#define LUMO_H

#include <stdio.h>

#ifdef __cplusplus
extern "C" {
#endif

/* One loaded sequence. Each non-null text pointer owns its own heap block
 * from the malloc family; free_string releases them and then the record.
 * Storing a text in a record hands its ownership to the record, so two of
 * the three pointers must never share one block. */
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

/* ---- Records and the sequence array ----------------------------------- */

/* Allocates a record with every byte zero: null texts, numbers 0, empty
 * `ident` and `title`. Returns null, without a message, when memory is
 * exhausted. The caller owns the record and releases it with free_string
 * (records held by the sequence array belong to the array). */
STRING *init_string(void);

/* Releases `sequence`, `desc_string` and `raw_seq` (each when not null) and
 * then the record. A null `sptr` does nothing. */
void free_string(STRING *sptr);

/* Makes the empty sequence array: capacity 40, no elements. Call
 * free_seq_ary first to release an array that exists already: creating
 * again drops it without freeing its records, which stay valid and become
 * the caller's to free with free_string. If memory is exhausted it writes
 * "malloc failed while initializing array of sequences." to standard error
 * and ends the process with status 1: the only library call that exits.
 *
 * Every other array operation may also be called before create_seq_array
 * or after free_seq_ary: it then behaves as on an empty array, and
 * add_element makes the array first. */
void create_seq_array(void);

/* Appends a fresh record (as from init_string) with mark 0 and returns the
 * new count, which is the number of the new element (elements count from
 * 1). The capacity doubles when the array is full (40, 80, 160, ...).
 * Returns -1 when the array cannot grow, after writing
 * "\nRan out of memory.  Cannot add new sequence.\n" to standard error;
 * the earlier elements, their marks and the capacity then stay as they
 * were. If only the record cannot be allocated, the element is added all
 * the same and its record is null. */
int add_element(void);

/* The record of element `num`, owned by the array: fill its fields in place
 * and do not free it. Null when `num` < 1 or `num` > count. */
STRING *get_element(int num);

/* The number of elements; 0 when the array does not exist. */
int get_num_sequences(void);

/* Sets the mark of element `num`; does nothing when `num` is out of range. */
void set_mark(int num, int value);

/* The mark of element `num` (0 for a fresh element); 0 when `num` is out of
 * range. */
int get_mark(int num);

/* Frees element `element` with free_string; the elements behind it move
 * down one number, each with its mark. Returns 0, or -1 when `element` is
 * out of range (nothing changes then). */
int delete_element(int element);

/* Frees every element and both arrays; the count is then 0. Records that
 * get_element returned are invalid afterwards. */
void free_seq_ary(void);

/* ---- Sequence files --------------------------------------------------- */

/* Reads a FASTA or FASTQ file, plain or gzip-compressed (told from the
 * content, as is the format: the first non-blank line starts with '>' or
 * '@'; the text is read as lumo_text.h describes, so concatenated gzip
 * members such as bgzip writes are one file), and appends one element per
 * record to the sequence array:
 *   ident        the header's first word, cut to its first 50 bytes
 *                (read_seq_file_names gives it whole);
 *   title        the rest of the header after the blanks that follow the
 *                first word, cut to 200 bytes;
 *   desc_string  that rest in full (an empty text when there is none);
 *   raw_seq      the residues as read, without line breaks, blanks or
 *                carriage returns, ended by a NUL;
 *   sequence     their DNA symbol codes (mapchar(1, c)), ended by a NUL;
 *   length, alphabet 1, raw_alpha 1, alpha_size 5.
 * FASTQ records may span lines; the quality text must have the sequence's
 * length, and a '+' line with text must repeat the header or its first
 * word. An empty file or one of blank lines gives no records and no
 * failure. Memory: about two bytes per residue beside the records.
 * `path` "-" reads standard input.
 *
 * Returns the number of records appended, or -1 on failure: the file cannot
 * be opened or read, is damaged or cut-short gzip data or has bytes after
 * its last gzip member that are not gzip data, has no header line before its
 * first residue, holds a NUL byte, has a FASTQ record without its '+' line,
 * with a '+' line naming another record or with quality of the wrong
 * length, a record over 2147483647 residues, or memory is exhausted. After a failure the array holds exactly what it
 * held before the call.
 *
 * Messages: one line, "FILE, line N: problem" for a failure, or a warning
 * "FILE: warning: ..." when residues outside the DNA alphabet were mapped
 * (to -1, as mapchar maps them). With `message` not null, *message
 * receives the line as a malloc'ed text that the caller frees, or null when
 * there is nothing to say; with `message` null the line is written to
 * standard error. A null `path` returns -1 with no message. */
int read_seq_file(const char *path, char **message);

/* As read_seq_file, from `stream`'s current position to its end; the stream
 * is left open. `name` names the input in messages (null: "(stream)"). A
 * null `stream` returns -1 with no message. */
int read_seq_stream(FILE *stream, const char *name, char **message);

/* As read_seq_file, and with `names` not null it gives every appended
 * record's whole name, the header's first word without a length limit
 * (which `ident` cuts to 50 bytes): *names receives a malloc'ed array of
 * one malloc'ed, NUL-ended text per appended record, in element order,
 * that the caller releases with free_seq_names(*names, count). *names is
 * null when no record was appended, a failure included. A null `names`
 * reads as read_seq_file does. */
int read_seq_file_names(const char *path, char **message, char ***names);

/* As read_seq_stream, with the whole names as read_seq_file_names gives
 * them. */
int read_seq_stream_names(FILE *stream, const char *name, char **message, char ***names);

/* Releases the first `count` texts of `names` and then the array. A null
 * `names` does nothing. */
void free_seq_names(char **names, int count);

/* ---- Alphabet tables ---------------------------------------------------- */

/* Alphabet numbers: 0 none, 1 DNA, 2 to 4 reserved (they can never be
 * built), 5 and up releasable. DNA maps A, C, G, T, N in either case to the
 * codes '0' to '4' (digit characters) and the IUPAC ambiguity letters
 * R Y M K S W H B V D to 'N' and '4'. */
enum { LUMO_TABLE_CHARS = 128 };

/* One alphabet. `init_flag`: 0 not valid, 1 valid but its tables not built
 * yet, 2 built. `rawmap` folds a character to its canonical letter (0 when
 * outside the alphabet), `map` gives its symbol code (-1 when outside), and
 * `compl_` its complement's canonical letter (0 when outside). The
 * complement table is named `compl_` because `compl` is an operator token
 * in C++ and cannot name a field there; the layout is unchanged. */
typedef struct ALPHABET {
  int init_flag;
  int alpha_size;
  char rawmap[LUMO_TABLE_CHARS];
  char map[LUMO_TABLE_CHARS];
  char compl_[LUMO_TABLE_CHARS];
} ALPHABET;

/* The table set, indexed by alphabet number: null until the first
 * alpha_init or lookup creates it; never freed. `table_size` is its number
 * of entries: 0 until then, 5 afterwards. */
extern ALPHABET *alpha_tables;
extern int table_size;

/* Creates the table set if needed and builds alphabet `alpha` when it is 1
 * to 4 and not built yet. Returns 1 on success, also for numbers outside 1
 * to 4 (which only create the table set). Returns 0 after writing one line
 * to standard error when the table set cannot be allocated ("Error: Ran out
 * of memory.  Cannot initialize alphabet table") or `alpha` is 2, 3 or 4
 * ("Error:  The program is attempting to initialize an invalid
 * alphabet."); the next call tries again. */
int alpha_init(int alpha);

/* Lookups in alphabet `alpha`: the canonical letter, the symbol code or the
 * complement letter of `ch`. They create the table set and build DNA on
 * first use. On error they return -1 after one line on standard error:
 * alpha_init's messages, or "Error:  The program is using an invalid
 * alphabet." for a number below 1, not below `table_size`, or of a
 * released alphabet. A character outside the alphabet, including codes 128
 * to 255, is no error: rawmapchar gives 0, mapchar -1 (indistinguishable
 * from an error) and complement 0. */
char rawmapchar(int alpha, char ch);
char mapchar(int alpha, char ch);
char complement(int alpha, char ch);

/* The number of symbols of alphabet `alpha` (5 for DNA); -1 on error, with
 * the messages of the lookups. */
int get_alpha_size(int alpha);

/* Releases the alphabet of a set of sequences unless it is 0 to 4 or also
 * the alphabet of their raw text, then sets their `alphabet` to 0. Only one
 * source is read: `s1` if not null, else `s2` if not null, else the first
 * `arylen` pointers of `sary` (null pointers in it are skipped). All null,
 * or a non-positive `arylen`, changes nothing. Texts are not changed. */
void unmap_sequences(STRING *s1, STRING *s2, STRING **sary, int arylen);

/* Marks alphabet `alpha` as not valid when 5 <= `alpha` < `table_size`;
 * otherwise does nothing. Never creates the table set or frees memory. */
void alpha_free(int alpha);

/* ---- Statistic -------------------------------------------------------- */

/* The observed count `occ` of a word of `len` letters, `cgcount` of them C
 * or G, divided by its expected count among 4 x `radius` places when each C
 * or G has probability `gccon` and each other letter 0.5 - `gccon`. Pure;
 * no errors: an expectation of 0 gives +infinity (or NaN for `occ` 0). */
float calc_occexpratio(int len, int occ, float gccon, int cgcount, int radius);

#ifdef __cplusplus
}
#endif

#endif /* LUMO_H */
