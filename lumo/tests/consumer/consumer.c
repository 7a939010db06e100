/* A C caller of lumo: makes a sequence record through the array, maps its
 * raw DNA text to symbol codes, rates a word and reads lines of a text.
 * Exits 0 when every result is as expected. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "lumo.h"
#include "lumo_text.h"

/* Reads "one\r\ntwo" back through the text reader: 0 when both lines come. */
static int read_lines(void) {
  FILE *file = tmpfile();
  lumo_text *text;
  const char *line;
  size_t length;
  int ok;
  if (file == NULL) {
    return 1;
  }
  fputs("one\r\ntwo", file);
  rewind(file);
  text = lumo_text_open(file);
  ok = text != NULL && lumo_text_next_line(text, &line, &length) == 1 && length == 3 &&
       memcmp(line, "one", 3) == 0 && lumo_text_next_line(text, &line, &length) == 1 &&
       length == 3 && memcmp(line, "two", 3) == 0 &&
       lumo_text_next_line(text, &line, &length) == 0 && lumo_text_line_number(text) == 2;
  lumo_text_close(text);
  fclose(file);
  return ok ? 0 : 1;
}

int main(void) {
  const char raw[] = "acgRt";
  const int length = (int)strlen(raw);
  STRING *seq;
  int num, i;
  float ratio;

  create_seq_array();
  num = add_element();
  seq = get_element(num); /* owned by the array */
  if (seq == NULL) {
    return 1;
  }
  /* The record owns its texts: two separate malloc blocks. */
  seq->raw_seq = malloc(sizeof raw);
  seq->sequence = malloc(sizeof raw);
  if (seq->raw_seq == NULL || seq->sequence == NULL) {
    free_seq_ary();
    return 1;
  }
  memcpy(seq->raw_seq, raw, sizeof raw);
  for (i = 0; i < length; ++i) {
    seq->sequence[i] = mapchar(1, raw[i]);
  }
  seq->sequence[length] = '\0';
  seq->length = length;
  seq->raw_alpha = 1;
  seq->alphabet = 1;
  seq->alpha_size = get_alpha_size(1);

  ratio = calc_occexpratio(4, 1, 0.25f, 2, 1);
  printf("%s -> %s, alphabet size %d, ratio %g\n", seq->raw_seq, seq->sequence,
         seq->alpha_size, ratio);
  if (strcmp(seq->sequence, "01243") != 0 || seq->alpha_size != 5 || ratio != 64.0f ||
      complement(1, 'a') != 'T') {
    free_seq_ary();
    return 1;
  }
  free_seq_ary(); /* frees the record and both texts */
  return read_lines();
}
