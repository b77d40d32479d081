#include "DemoDatabase.h"

#include "DemoContent.h"
#include "Schema.h"

#include <QSqlError>

namespace demodb {

bool buildDatabase(QSqlDatabase& db, Content content, QString* error)
{
    if (!db.transaction()) {
        if (error)
            *error = db.lastError().text();
        return false;
    }
    const bool built = createTables(db, error) && (content == Content::Tables || insertDemoRows(db, error));
    if (built && db.commit())
        return true;
    if (built && error)
        *error = db.lastError().text();
    db.rollback();
    return false;
}

} // namespace demodb
