#include "pair_split.h"

#include "atomic_output.h"
#include "tool_error.h"

#include <cerrno>
#include <cinttypes>
#include <sys/stat.h>

namespace common {

namespace {

std::string escaped(const std::string &name) {
  static const char HEX[] = "0123456789ABCDEF";
  std::string out;
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
        (byte >= '0' && byte <= '9') || byte == '_' || byte == '.') {
      out += c;
    } else {
      out += '%';
      out += HEX[byte >> 4];
      out += HEX[byte & 15];
    }
  }
  return out;
}

// 64-bit FNV-1a: enough to tell apart the pairs whose names were cut.
uint64_t fnv1a(const std::string &text) {
  uint64_t hash = 0xcbf29ce484222325ULL;
  for (const char c : text) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 0x100000001b3ULL;
  }
  return hash;
}

}  // namespace

std::string pairFileName(const std::string &reference, const std::string &query) {
  // Most file systems allow 255 bytes a name.
  constexpr size_t LONGEST = 200;
  std::string base = escaped(reference) + "-vs-" + escaped(query);
  // A leading dot would hide the file (and "." or ".." name no file).
  if (base.front() == '.') base.replace(0, 1, "%2E");
  if (base.size() > LONGEST) {
    char hash[17];
    std::snprintf(hash, sizeof hash, "%016" PRIx64, fnv1a(reference + '\0' + query));
    base = base.substr(0, LONGEST - 17) + "-" + hash;
  }
  return base + ".gff";
}

void makeFolder(const std::string &dir) {
  if (mkdir(dir.c_str(), 0777) == 0) return;
  const int error = errno;
  struct stat existing;
  if (error == EEXIST && stat(dir.c_str(), &existing) == 0 && S_ISDIR(existing.st_mode)) return;
  throw ToolError(systemFailure("cannot make the folder", dir, error));
}

void writePairIndex(const std::string &dir, const std::vector<PairEntry> &pairs) {
  AtomicOutput out(dir + "/pairs.tsv");
  std::fputs("file\treference\tquery\treference_length\tquery_length\talignments\tminus_alignments\n",
             out.stream());
  for (const PairEntry &p : pairs)
    std::fprintf(out.stream(), "%s\t%s\t%s\t%" PRIu64 "\t%" PRIu64 "\t%" PRIu64 "\t%" PRIu64 "\n",
                 p.file.c_str(), p.reference.c_str(), p.query.c_str(), p.referenceLength,
                 p.queryLength, p.alignments, p.minusAlignments);
  out.commit();
}

}  // namespace common
