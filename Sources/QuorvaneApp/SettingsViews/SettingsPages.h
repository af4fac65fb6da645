#pragma once

#include "SettingsViews/SettingsContext.h"
#include "SettingsViews/SettingsSection.h"

class QWidget;

namespace quorvane {

// A new page for the section; an empty page for the sections not built here.
QWidget *makeSettingsPage(SettingsSection section, const SettingsContext &context);

} // namespace quorvane
