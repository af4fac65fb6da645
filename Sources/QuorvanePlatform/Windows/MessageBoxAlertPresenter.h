#pragma once

#include "Windows/AlertPresenter.h"

namespace quorvane {

// Alerts as modal message boxes.
class MessageBoxAlertPresenter final : public AlertPresenter {
public:
    int present(const Alert &alert) override;
};

} // namespace quorvane
