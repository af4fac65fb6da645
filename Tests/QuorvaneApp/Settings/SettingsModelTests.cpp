#include "Settings/SettingsModel.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace quorvane;

namespace {

class ScriptedStore final : public StateStore {
public:
    std::optional<Config> document; // none: loading throws
    Config loadConfig() override
    {
        if (!document)
            throw std::runtime_error("unreadable");
        return *document;
    }
    void saveConfig(const Config &config) override { document = config; }
    std::optional<Journal> loadJournal() override { return std::nullopt; }
    void saveJournal(const std::optional<Journal> &) override {}
};

} // namespace

TEST(SettingsModel, ReloadPublishesTheStoredDocumentOrTheDefaultOne)
{
    ScriptedStore store;
    Config stored = Config::defaultDocument();
    stored.workspaces.push_back(Workspace::make("Work"));
    stored.activeWorkspace = "Work";
    store.document = stored;

    SettingsModel model;
    model.store = &store;
    int changes = 0;
    QObject::connect(&model, &SettingsModel::changed, [&] { ++changes; });

    model.reload();
    EXPECT_EQ(model.config, stored);
    EXPECT_EQ(changes, 1);

    store.document.reset();
    model.reload();
    EXPECT_EQ(model.config, Config::defaultDocument());
    EXPECT_EQ(model.config.activeWorkspace, Config::blankWorkspaceName);
    EXPECT_EQ(changes, 2);
}
