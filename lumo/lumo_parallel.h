// Private to the library and its tests; not installed.
#ifndef LUMO_PARALLEL_H
#define LUMO_PARALLEL_H

#include <cstdint>

namespace lumo_parallel {

// The most threads `run` starts for one call.
constexpr int MOST_PARTS = 64;

// Runs task(arg, part) for every part in [0, parts) and returns when all
// are done: the first part and any beyond the first MOST_PARTS on the
// caller's thread, each other on a thread of its own. A part whose thread
// cannot be started runs on the caller's thread instead, so the work is
// always done. POSIX threads, so that the archive needs no C++ runtime.
void run(int parts, void (*task)(void *arg, int part), void *arg);

// The same with a callable taking the part number.
template <class Body>
void run(int parts, Body &body) {
  run(parts, [](void *arg, int part) { (*static_cast<Body *>(arg))(part); }, &body);
}

// The start of part `part` of [0, n) cut into `parts` nearly equal parts
// (part == parts gives n).
inline int64_t part_start(int64_t n, int parts, int part) { return n / parts * part + (n % parts) * part / parts; }

}  // namespace lumo_parallel

#endif  // LUMO_PARALLEL_H
