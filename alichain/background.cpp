#include "alichain.h"

#include <system_error>

BackgroundJob::BackgroundJob(std::function<void()> job) : job(std::move(job)) {
  try {
    worker = std::thread([this] { run(); });
  } catch (const std::system_error &) {
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
