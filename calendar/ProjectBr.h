// ProjectBr: the "Projects Browse " list of the projects of the current
// category (GCategory) with their totals; Insert, Copy, Change and Delete
// run ProjectFr, and the diary form calls it to select a project.
#pragma once

#include "platform/KeyedFile.h"
#include "platform/WindowController.h"

#include <memory>

namespace ven {

// The part tag of a project: "(p/t)", "#p", "(?/t)" or blank.
QString projectPartTag(int64_t part, int64_t total);
// The trimmed text with the part tag after one blank, when there is one.
QString withPartTag(const QString& text, const Record& project);

std::unique_ptr<WindowController> makeProjectBr(const QString& parameter);

} // namespace ven
