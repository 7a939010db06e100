/* The README's example of the suffix-array index, as a C99 program: index
 * two texts, stream a query against them, list every occurrence of a
 * prefix, and save and load the index. Exits 0 when every result is as
 * expected. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "lumo_saindex.h"

int main(void) {
  const char *names[] = {"chrA", "chrB"};
  const char *texts[] = {"0123012301", "2301233"};  /* ACGT in symbol codes */
  const int64_t lengths[] = {10, 7};
  const char query[] = "3012330";
  LUMO_SAINDEX *index, *back;
  LUMO_SAMATCH m;
  LUMO_SAHITS hits;
  int64_t pos, length, offset;
  int text, found = 0, unique = 0;
  char *message = NULL;
  FILE *file;

  index = lumo_saindex_build(2, names, texts, lengths);
  if (index == NULL) return 1;
  /* The longest match at each query position; unique ones start a MUM. */
  memset(&m, 0, sizeof m);
  while (lumo_saindex_match_next(index, query, 7, 3, &m)) {
    if (m.length < 3) continue;
    lumo_saindex_locate(index, m.pos, &text, &offset);
    printf("query %d: %d characters at %s:%d%s\n", (int)m.q, (int)m.length,
           lumo_saindex_name(index, text), (int)offset, m.repeat < m.length ? ", unique" : "");
    unique += m.repeat < m.length;
  }
  /* Every place where at least 4 characters of "2301..." occur. */
  lumo_saindex_hits_begin(&hits, index, "230123", 6, 4);
  while (lumo_saindex_hits_next(&hits, &pos, &length)) found++;

  file = tmpfile();
  if (file == NULL || lumo_saindex_save(index, file) != 0) return 1;
  rewind(file);
  back = lumo_saindex_load(file, &message);
  fclose(file);
  if (back == NULL) {
    fprintf(stderr, "%s\n", message);
    free(message);
    return 1;
  }
  if (lumo_saindex_total(back) != 19 || strcmp(lumo_saindex_name(back, 1), "chrB") != 0) return 1;
  lumo_saindex_free(back);
  lumo_saindex_free(index);
  return unique == 4 && found == 3 ? 0 : 1;
}
