#include "alichain.h"

BackgroundJob::BackgroundJob(std::function<void()> job) : job(std::move(job)) {
  try {
    worker = std::thread([this] { run(); });
  } catch (...) {  // no thread, or no memory for one: wait() runs the job
  }
}

BackgroundJob::~BackgroundJob() {
  if (worker.joinable()) worker.join();
}

void BackgroundJob::wait() {
  if (worker.joinable())
    worker.join();
  else if (!ran)
    run();
  if (failure) std::rethrow_exception(failure);
}

void BackgroundJob::run() {
  ran = true;
  try {
    job();
  } catch (...) {
    failure = std::current_exception();
  }
}
