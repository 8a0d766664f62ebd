#pragma once
// The fixed pauses between reports are part of the protocol: the keyboard
// drops reports that arrive faster.  The protocol asks its pacer for every
// pause, so tests can record the pauses instead of sleeping.
class ProtocolPacer {
 public:
  virtual ~ProtocolPacer() = default;
  virtual void Pause(int milliseconds) = 0;
};

// Sleeps for real; what the worker uses.
class SleepingPacer final : public ProtocolPacer {
 public:
  void Pause(int milliseconds) override;
};
