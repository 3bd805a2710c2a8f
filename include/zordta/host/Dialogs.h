// The message box through which ShowWarnings reports.
#pragma once

#include <functional>

#include "zordta/host/Types.h"

namespace zor {

/// Shows a modal message box and returns when it is dismissed.
using TMessageBoxHandler = std::function<void(const String& text, const String& caption)>;

/// Installs the host's dialog; an empty function restores the default, which writes
/// caption and text to standard error and returns at once.
ZORDTA_API void SetMessageBoxHandler(TMessageBoxHandler handler);

/// Shows a message box with the warning icon and an OK button.
ZORDTA_API void ShowMessageBox(const String& text, const String& caption);

}  // namespace zor
