#include "Settings/SettingsModel.h"

namespace quorvane {

SettingsModel::SettingsModel(QObject *parent)
    : QObject(parent)
{
}

void SettingsModel::reload()
{
    Config loaded = Config::defaultDocument();
    if (store) {
        try {
            loaded = store->loadConfig();
        } catch (...) {
            loaded = Config::defaultDocument();
        }
    }
    config = std::move(loaded);
    emit changed();
}

} // namespace quorvane
