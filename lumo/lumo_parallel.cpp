#include "lumo_parallel.h"

#include <pthread.h>

namespace lumo_parallel {

namespace {

struct Part {
  void (*task)(void *, int);
  void *arg;
  int number;
  pthread_t thread;
  bool started;
};

void *start(void *part) {
  auto *p = static_cast<Part *>(part);
  p->task(p->arg, p->number);
  return nullptr;
}

}  // namespace

void run(int parts, void (*task)(void *arg, int part), void *arg) {
  Part all[MOST_PARTS];
  const int threaded = parts < MOST_PARTS ? parts : MOST_PARTS;
  for (int k = 1; k < threaded; k++) {
    all[k] = {task, arg, k, {}, false};
    all[k].started = pthread_create(&all[k].thread, nullptr, start, &all[k]) == 0;
  }
  task(arg, 0);
  for (int k = MOST_PARTS; k < parts; k++) task(arg, k);
  for (int k = 1; k < threaded; k++) {
    if (all[k].started) pthread_join(all[k].thread, nullptr);
    else task(arg, k);
  }
}

}  // namespace lumo_parallel
