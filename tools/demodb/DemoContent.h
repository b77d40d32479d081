#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>

namespace demodb {

// The demo companies: the one the demo folder selects, and a second one whose rows must stay out of sight.
inline constexpr char kDemoCompany[] = "VEL01";
inline constexpr char kOtherCompany[] = "VEL02";

struct DemoAgent
{
    QString id;
    QString companyId;
    QString name;
    QString type; // "IN" consultant, "EX" external, "AG" agency
    QString email;
    QString photo;
    QString town;
    QString country;
};

const QList<DemoAgent>& demoAgents();

// Agents of type "IN" whose photo is a .bmp file (any case): the ones with a picture in the gallery.
QList<DemoAgent> consultantsWithPictures();

// Inserts agents, tasks, letter templates and rows of the other tables into existing, empty tables.
// Keys are generated from a fixed seed, so two demo databases hold the same rows.
bool insertDemoRows(QSqlDatabase& db, QString* error);

} // namespace demodb
