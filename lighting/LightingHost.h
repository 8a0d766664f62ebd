#pragma once
// What the lighting model needs from the program around it: the task queue,
// the wait dialog and the keyboard picture's colours.  The main window
// implements it on the UI thread; the command-line tool and tests have their
// own.
#include <vector>

#include "device/MacroEncoding.h"

class LightingHost {
 public:
  virtual ~LightingHost() = default;
  virtual void QueueTask(int task) = 0;
  virtual bool IsTaskQueueEmpty() const = 0;
  virtual void ShowWaitDialog() = 0;
  // Every key of the keyboard picture with its current colour.
  virtual std::vector<KeyColour> PictureColours() const = 0;
  virtual void SetPictureColours(const std::vector<KeyColour>& colours) = 0;
};
