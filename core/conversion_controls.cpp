#include "core/conversion_controls.h"

namespace velmo::core {

// Out of line, so the interface's vtable has one home.
ConversionControls::~ConversionControls() = default;

}  // namespace velmo::core
