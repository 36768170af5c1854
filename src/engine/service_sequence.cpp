#include "engine/service_sequence.h"

namespace {

std::recursive_mutex& SequenceMutex() {
  static std::recursive_mutex mutex;
  return mutex;
}

}  // namespace

ServiceSequence::ServiceSequence() : lock_(SequenceMutex()) {}
