#pragma once

#include <QString>

#include <functional>

namespace platform {

class Connection;

// The statement pattern: opens the connection (keeping it open) and begins a transaction,
// both outside the guard so their errors reach the uncaught-error handler; then runs body and
// commits. An error there rolls back and shows failureMessage followed by the error's text.
// Returns whether body and commit succeeded.
bool runInTransaction(Connection& connection, const QString& failureMessage,
                      const std::function<void()>& body);

// The result-set pattern: runs body; an error shows failureMessage followed by the error's
// text. Returns whether body succeeded.
bool runReportingFailure(const QString& failureMessage, const std::function<void()>& body);

} // namespace platform
