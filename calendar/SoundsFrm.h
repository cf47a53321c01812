// SoundsFrm: one sound effect (file name and folder): looked up, tested,
// and on OK made the default sound of new alarms.
#pragma once

#include "platform/WindowController.h"

#include <memory>

namespace ven {

std::unique_ptr<WindowController> makeSoundsFrm(const QString& parameter);

// The default sound folder of a registered folder: without its final
// separator, except a drive's or the file system's root.
QString SoundFolderSetting(const QString& folder);

} // namespace ven
