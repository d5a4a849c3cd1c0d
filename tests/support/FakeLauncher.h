#pragma once

#include <QString>
#include <vector>

#include "platform/services/DocumentLauncher.h"

// Answers every launch with a set code and remembers what it was asked.
class FakeLauncher : public platform::DocumentLauncher {
 public:
  struct Call {
    QString file, verb, directory;
    bool awaitOutcome;
  };
  int Open(const QString& file, const QString& verb, const QString& directory,
           bool awaitOutcome) override {
    calls.push_back({file, verb, directory, awaitOutcome});
    return result;
  }
  int result = platform::kLaunched;
  std::vector<Call> calls;
};
