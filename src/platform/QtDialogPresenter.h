#pragma once

#include "Dialogs.h"

namespace platform {

// Shows each box as a modal QMessageBox.
class QtDialogPresenter : public DialogPresenter
{
public:
    BoxButton showBox(const BoxRequest& request) override;
};

} // namespace platform
