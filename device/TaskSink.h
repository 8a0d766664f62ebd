#pragma once
// Where device presence queues work for the main controller's worker.
// QueueTask may be called from any thread (device notifications arrive on
// the user-interface thread, detection runs on the worker).
class TaskSink {
 public:
  virtual ~TaskSink() = default;
  virtual void QueueTask(int task) = 0;
};
