#include "app/qt_owner_thread.h"

#include <exception>

#include <QMetaObject>
#include <QThread>

namespace ombrel::app {

QtOwnerThread::QtOwnerThread() : shared_(std::make_shared<Shared>()) {}

QtOwnerThread::~QtOwnerThread() { shutdown(); }

void QtOwnerThread::shutdown() {
  {
    std::lock_guard lock(shared_->mutex);
    shared_->closed = true;
  }
  shared_->done.notify_all();
}

bool QtOwnerThread::onOwnerThread() const { return QThread::currentThread() == context_.thread(); }

bool QtOwnerThread::enqueue(std::function<void()> work) {
  // The lock keeps shutdown() and the end of context_ from overtaking a post
  // that is half made.
  std::lock_guard lock(shared_->mutex);
  if (shared_->closed) return false;
  QMetaObject::invokeMethod(
      &context_,
      [shared = shared_, work = std::move(work)] {
        {
          std::lock_guard check(shared->mutex);
          if (shared->closed) return;
        }
        work();
      },
      Qt::QueuedConnection);
  return true;
}

void QtOwnerThread::post(std::function<void()> work) { enqueue(std::move(work)); }

void QtOwnerThread::send(std::function<void()> work) {
  if (onOwnerThread()) {
    work();
    return;
  }
  struct Call {
    bool finished = false;
    std::exception_ptr failure;
  };
  auto call = std::make_shared<Call>();
  const bool queued = enqueue([shared = shared_, call, work = std::move(work)] {
    std::exception_ptr failure;
    try {
      work();
    } catch (...) {
      failure = std::current_exception();
    }
    {
      std::lock_guard lock(shared->mutex);
      call->finished = true;
      call->failure = failure;
    }
    shared->done.notify_all();
  });
  if (!queued) return;
  std::unique_lock lock(shared_->mutex);
  shared_->done.wait(lock, [&] { return call->finished || shared_->closed; });
  if (call->failure) std::rethrow_exception(call->failure);
}

}  // namespace ombrel::app
