#include "device/ProtocolPacer.h"

#include <chrono>
#include <thread>

void SleepingPacer::Pause(int milliseconds) {
  if (milliseconds > 0) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}
