/* lumo text input: a stream read line by line, plain or gzip-compressed.
 * C99 and C++ compatible.
 *
 * Compression is told from the content, not the name: a stream that starts
 * with the gzip magic bytes (0x1f 0x8b) is gzip data. Gzip members that
 * follow one another are one text, as bgzip and `cat a.gz b.gz` write them;
 * empty members give no text. The text ends cleanly only where a member
 * ends and the stream ends with it. Everything else is a failure:
 *   - a member cut short ("gzip data cut short");
 *   - damaged data ("corrupt gzip data");
 *   - bytes after the last member that do not start another member
 *     ("bytes after the last gzip member are not gzip data");
 *   - a read error (the system's reason) or exhausted memory.
 * The lines before a failure are handed out whole; the failure follows
 * them, so a caller names line lumo_text_line_number() + 1 as the first
 * line that could not be read whole.
 *
 * One reader serves one thread at a time; readers are independent of each
 * other and of the sequence array. */
#ifndef LUMO_TEXT_H
#define LUMO_TEXT_H

#include <stddef.h>
#include <stdio.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct lumo_text lumo_text;

/* Starts reading `stream` from its current position. The stream stays the
 * caller's: it is read but never closed. Returns a reader that the caller
 * releases with lumo_text_close, or null when `stream` is null or memory is
 * exhausted. */
lumo_text *lumo_text_open(FILE *stream);

/* Releases the reader and its buffers; the stream stays open. A null `text`
 * does nothing. */
void lumo_text_close(lumo_text *text);

/* The next line without its "\n" or "\r\n": sets *line and *length and
 * returns 1. A last line without a line break is a line. The line is owned
 * by the reader and stays valid until the next call on it; it is not ended
 * by a NUL and may hold NUL bytes. Returns 0 at the end of the text, and -1
 * on a failure (lumo_text_problem says why; every later call fails alike).
 * Neither *line nor *length is set unless 1 is returned. */
int lumo_text_next_line(lumo_text *text, const char **line, size_t *length);

/* Up to `n` bytes of the (decompressed) text that lumo_text_next_line has
 * not yet returned, without taking them: for recognising a format. Sets
 * *bytes (valid until the next call on the reader) and returns their
 * count, which is below `n` only at the end of the text or after a failure
 * (then lumo_text_problem is not null; the bytes before the failure are
 * still given). */
size_t lumo_text_peek(lumo_text *text, size_t n, const char **bytes);

/* The number of lines returned so far: the number of the last one, from 1. */
long long lumo_text_line_number(const lumo_text *text);

/* Why the reader failed: a static text without the input's name, or null
 * while it has not failed. */
const char *lumo_text_problem(const lumo_text *text);

/* The errno value of a failed read of the stream; 0 while it has not
 * failed, and after a failure that is about the data (damaged or cut
 * short, trailing bytes) or memory. */
int lumo_text_read_error(const lumo_text *text);

#ifdef __cplusplus
}
#endif

#endif /* LUMO_TEXT_H */
