#pragma once
#include "core/Dialogs.h"

#include <exception>

namespace tarvok::ui {

// The general error box for an error that ended a reaction.
void ReportError(Dialogs& dialogs, const std::exception& error);

// Runs one delivery of an event. An error escaping it is reported and the
// event counts as not handled; the program goes on.
template <typename Deliver>
bool DeliverReportingErrors(Dialogs& dialogs, Deliver&& deliver)
{
    try {
        return deliver();
    } catch (const std::exception& error) {
        ReportError(dialogs, error);
        return false;
    }
}

} // namespace tarvok::ui
