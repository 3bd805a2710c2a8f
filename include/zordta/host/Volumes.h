// Volume labels of the drives (file systems) that hold the output.
#pragma once

#include <functional>

#include "zordta/host/Types.h"

namespace zor {

/// Answers the label of the volume that holds root (empty when there is none).
using TVolumeLabelSource = std::function<String(const String& root)>;

/// Replaces the label lookup; an empty function restores the system's, which on
/// Linux finds the file system's label under /dev/disk/by-label.
ZORDTA_API void SetVolumeLabelSource(TVolumeLabelSource source);

/// The label of the volume that holds root; false when none can be read.
ZORDTA_API bool GetVolumeInformation(const String& root, String& volumeName);

/// Sets a volume label; POSIX has no such call, so this answers false there.
ZORDTA_API bool SetVolumeLabel(const String& root, const String& label);

}  // namespace zor
