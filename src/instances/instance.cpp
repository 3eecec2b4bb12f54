#include "instances/instance.h"

namespace oxlip {

void CopyInstance(Instance& target, const Instance& source) {
  if (&target != &source) target = source;
}

void FreeInstanceIcon(Instance& record) { record.Icon.ResetToDefault(); }

}  // namespace oxlip
