#include "net/tests/recording_logger.h"

std::vector<RecordingLogger::Event> RecordingLogger::Events(const std::string& name) {
  std::lock_guard<std::mutex> hold(mutex_);
  std::vector<Event> found;
  for (const Event& event : events_)
    if (event.name == name) found.push_back(event);
  return found;
}

void RecordingLogger::Clear() {
  std::lock_guard<std::mutex> hold(mutex_);
  events_.clear();
}

bool RecordingLogger::WriteEvent(const std::string& name) {
  std::lock_guard<std::mutex> hold(mutex_);
  pending_.name = name;
  events_.push_back(pending_);
  return true;
}

void RecordingLogger::ClearProperties() {
  std::lock_guard<std::mutex> hold(mutex_);
  pending_ = Event();
}

void RecordingLogger::SetIntProperty(const std::string& key, int64_t value) {
  std::lock_guard<std::mutex> hold(mutex_);
  pending_.ints.emplace(key, value);
}

void RecordingLogger::SetBoolProperty(const std::string& key, bool value) {
  std::lock_guard<std::mutex> hold(mutex_);
  pending_.ints.emplace(key, value ? 1 : 0);
}

void RecordingLogger::SetStringProperty(const std::string& key, const std::string& utf8) {
  std::lock_guard<std::mutex> hold(mutex_);
  pending_.strings.emplace(key, utf8);
}
