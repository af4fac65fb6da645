#pragma once

// A settings view over a real model on a temporary home, with a manual clock and scripted
// questions; controls are found by their accessible names.
#include "../Settings/SettingsModelHarness.h"
#include "Fakes/ScriptedDialogs.h"
#include "ManualScheduler.h"
#include "SettingsViews/SettingsContext.h"
#include "SettingsViews/SettingsView.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QTest>

namespace quorvane::test {

struct SettingsViewHarness : SettingsModelHarness {
    ManualScheduler scheduler;
    ScriptedDialogs dialogs;
    SettingsViewServices services;
    std::unique_ptr<SettingsView> view;
    int createSheets = 0;

    SettingsViewServices &makeServices()
    {
        services.dialogs = &dialogs;
        services.scheduler = &scheduler;
        services.showCreateSurface = [this] { ++createSheets; };
        return services;
    }
    SettingsView &show(SettingsSection section = SettingsSection::general)
    {
        if (!model)
            open();
        makeServices();
        view = std::make_unique<SettingsView>(*model, services);
        view->show();
        if (section != SettingsSection::general)
            view->select(section);
        return *view;
    }
    void TearDown() override { view.reset(); }

    // The visible widget of that type named so, none when there is none or more than one.
    template <typename W = QWidget>
    W *find(const QString &name) const
    {
        // Widgets a refresh added show once their layout's posted show has run.
        QCoreApplication::sendPostedEvents();
        W *found = nullptr;
        for (W *w : view->findChildren<W *>()) {
            if (w->accessibleName() == name && w->isVisibleTo(view.get())) {
                if (found)
                    return nullptr;
                found = w;
            }
        }
        return found;
    }
    // The visible label showing exactly that text.
    QLabel *label(const QString &text) const
    {
        QCoreApplication::sendPostedEvents();
        for (QLabel *l : view->findChildren<QLabel *>()) {
            if (l->text() == text && l->isVisibleTo(view.get()))
                return l;
        }
        return nullptr;
    }
    template <typename W = QAbstractButton>
    void click(const QString &name)
    {
        W *w = find<W>(name);
        ASSERT_NE(w, nullptr) << name.toStdString();
        QTest::mouseClick(w, Qt::LeftButton);
    }
    const Question &lastQuestion() const { return dialogs.asked.back().question; }
};

} // namespace quorvane::test
