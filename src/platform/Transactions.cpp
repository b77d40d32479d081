#include "Transactions.h"

#include "Connection.h"
#include "Dialogs.h"

#include <exception>

namespace platform {

bool runInTransaction(Connection& connection, const QString& failureMessage,
                      const std::function<void()>& body)
{
    connection.open();
    connection.setKeepConnection(true);
    connection.beginTrans();
    try {
        body();
        connection.commitTrans();
        return true;
    } catch (const std::exception& error) {
        const QString text = QString::fromStdString(error.what());
        try {
            if (connection.inTransaction())
                connection.rollbackTrans();
        } catch (const std::exception&) {
            // The server has already ended the transaction (a lost connection); nothing is left to undo.
        }
        Dialogs::error(failureMessage + text);
        return false;
    }
}

bool runReportingFailure(const QString& failureMessage, const std::function<void()>& body)
{
    try {
        body();
        return true;
    } catch (const std::exception& error) {
        Dialogs::error(failureMessage + QString::fromStdString(error.what()));
        return false;
    }
}

} // namespace platform
