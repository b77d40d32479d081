#include "DemoContent.h"

#include <QDateTime>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariantList>

#include <iterator>

namespace demodb {

namespace {

constexpr int kTitleLimit = 89;
constexpr int kDefaultCardColour = -1;
constexpr quint32 kKeySeed = 20240501;
// The board writes empty text, not NULL, into the fields a task does not use.
const QString kNoText = QStringLiteral("");

// Registry-form GUIDs ("{XXXXXXXX-XXXX-4XXX-YXXX-XXXXXXXXXXXX}"), repeatable from the seed.
class GuidSequence
{
public:
    explicit GuidSequence(quint32 seed) : m_random(seed) {}

    QString next()
    {
        quint32 words[4];
        m_random.fillRange(words);
        words[1] = (words[1] & 0xFFFF0FFFu) | 0x00004000u;
        words[2] = (words[2] & 0x3FFFFFFFu) | 0x80000000u;
        const auto hex = [](quint64 value, int digits) {
            return QStringLiteral("%1").arg(value, digits, 16, QLatin1Char('0')).toUpper();
        };
        return QStringLiteral("{%1-%2-%3-%4-%5%6}")
            .arg(hex(words[0], 8), hex(words[1] >> 16, 4), hex(words[1] & 0xFFFF, 4), hex(words[2] >> 16, 4),
                 hex(words[2] & 0xFFFF, 4), hex(words[3], 8));
    }

private:
    QRandomGenerator m_random;
};

struct Priority
{
    const char* name;
    int markerColour;
    int sortKey;
};

constexpr Priority kLow{"Low", 4095231, 1};
constexpr Priority kMed{"Med", 65280, 2};
constexpr Priority kHigh{"High", 255, 3};

struct TaskIdea
{
    const char* title;
    const char* description;
};

const TaskIdea kTaskIdeas[] = {
    {"Call supplier", "Confirm the allotment for the spring season."},
    {"Update brochure prices", "Apply the new exchange rates to the summer brochure."},
    {"Book coach transfer", "Airport to hotel for the Lisbon group, 32 passengers."},
    {"Chase unpaid deposit", "Second reminder for quote 1043."},
    {"Renew hotel contract", "Hotel Miramar contract ends in June."},
    {"Prepare fam trip", "Agenda and rooming list for the agents' familiarisation trip."},
    {"Check visa rules", "Travellers to India need e-visas; update the pre-departure notes."},
    {"Reply to complaint", "Customer unhappy with the room view in Santorini."},
    {"Collect passport copies", "Still missing for three passengers of the Morocco tour."},
    {"Send final documents", "Tickets, vouchers and itinerary for the Kenya safari."},
    {"Review insurance claims", "Two claims from the Alpine tour are waiting."},
    {"Photograph new lodge",
     "The supplier sent no pictures; arrange a visit.\r\nTake interior and exterior shots."},
    {"Negotiate group rate", "Ask for a better rate above 20 rooms."},
    {"Translate itinerary", "The Italian version of the Tuscany itinerary is due."},
    {"Confirm guide booking", "The guide for the Petra day trip has not confirmed yet."},
    {"Plan Christmas market tour", "Vienna and Salzburg, five nights."},
    {"Audit supplier sustainability", "Ask each supplier for their practices."},
    {"Fix website tour dates", "Two departure dates show the wrong year."},
    {"Train new consultant", "Introduce the quoting screens and the kanban board."},
    {"Order printed catalogues", "Print run of 2,000 copies."},
    {"Check flight schedule change", "The airline moved the Friday departure by two hours."},
    {"Prepare quarterly report", "Sales per consultant and per destination."},
    {"Call back Mrs Anders", "She asked about the river cruise in May."},
    {"Reconcile supplier invoices", "March invoices do not match the bookings."},
    {"Arrange welcome dinner", "Group of 18, vegetarian options needed."},
    {"Update emergency contacts", "Local agents' numbers for the 24-hour line."},
    {"Send survey to travellers", "Feedback survey for last month's departures."},
    {"Quote for school trip", "Forty pupils, three teachers, Paris, four days."},
    {"Verify room allocation", "Twin and double rooms for the golf tour."},
    {"Publish new tours online", "The autumn programme is ready for the website."},
    {"Check rail passes", "Swiss travel passes for the Glacier Express tour."},
    {"Cancel unsold allotment", "Release the rooms held for week 32."},
    {"Renew tour operator licence", "The bonding certificate expires at the end of the month."},
    {"Organise incentive trip", "Corporate incentive for 60 guests, gala dinner included, venue to be chosen "
                                "between the castle and the lakeside hotel."},
    {"Proofread terms and conditions", "Legal changes for package travel."},
    {"Send birthday vouchers", "Loyalty programme members with birthdays this month."},
    {"Investigate lost luggage claim", "Bag lost on the return flight from Cairo."},
    {"Update supplier bank details", "New account for the transfer company in Crete."},
    {"Prepare the tour leader briefing pack for the summer season with procedures and contacts",
     "Emergency procedures and the list of local contacts for every destination on the programme."},
    {"Archive last year's files", "Move the closed bookings to the archive."},
};

const TaskIdea kOtherCompanyTaskIdeas[] = {
    {"Call supplier", "Confirm the winter allotment."},
    {"Quote for ski week", "Family of four, half board."},
    {"Chase unpaid deposit", "Booking 88 is two weeks overdue."},
    {"Update brochure prices", "Ski brochure."},
    {"Book coach transfer", "Geneva airport transfers for Saturday arrivals."},
};

// Card placement and priority follow fixed patterns so every column and priority is well represented.
constexpr int kColumnPattern[] = {0, 0, 1, 2, 3, 0, 1, 3, 0, 2};
const Priority kPriorityPattern[] = {kLow, kMed, kHigh, kMed, kLow, kHigh, kMed};
constexpr int kCardColours[] = {15784647, 13434828, 10092543};
const char* const kAdhocNames[] = {"John Parker", "Joanna Reed", "Front Desk",
                                   "Maria Lopez", "Sam O'Neill", "Peter Jones"};

QList<DemoAgent> buildAgents()
{
    const auto agent = [](const char* id, const char* company, const char* name, const char* type,
                          const char* photo, const char* town, const char* country) {
        const QString fullName = QString::fromUtf8(name);
        const QString domain = QLatin1String(company) == QLatin1String(kDemoCompany)
                                   ? QStringLiteral("velora-travel.example")
                                   : QStringLiteral("velora-alpine.example");
        QString mailbox = fullName.toLower();
        mailbox.replace(QLatin1Char(' '), QLatin1Char('.'));
        return DemoAgent{
            QString::fromLatin1(id),   QString::fromLatin1(company),        fullName,
            QString::fromLatin1(type), mailbox + QLatin1Char('@') + domain, QString::fromLatin1(photo),
            QString::fromUtf8(town),   QString::fromUtf8(country)};
    };
    return {
        agent("AG001", kDemoCompany, "Alice Brennan", "IN", "abrennan.bmp", "Dublin", "Ireland"),
        agent("AG002", kDemoCompany, "Ben Okafor", "IN", "bokafor.bmp", "London", "United Kingdom"),
        agent("AG003", kDemoCompany, "Carla Jensen", "IN", "cjensen.bmp", "Aarhus", "Denmark"),
        agent("AG004", kDemoCompany, "David Moreau", "IN", "dmoreau.bmp", "Lyon", "France"),
        agent("AG005", kDemoCompany, "Emma Richter", "IN", "erichter.bmp", "Leipzig", "Germany"),
        agent("AG006", kDemoCompany, "Farid Haddad", "IN", "fhaddad.BMP", "Marseille", "France"),
        agent("AG007", kDemoCompany, "John Doe", "IN", "jdoe.jpg", "Leeds", "United Kingdom"),
        agent("AG008", kDemoCompany, "Grace Lindqvist", "IN", "glindqvist.png", "Malmö", "Sweden"),
        agent("AG009", kDemoCompany, "Henry Walsh", "EX", "hwalsh.bmp", "Cork", "Ireland"),
        agent("AG010", kDemoCompany, "Isla Fontaine", "AG", "ifontaine.bmp", "Geneva", "Switzerland"),
        agent("AG011", kDemoCompany, "Kofi Mensah", "EX", "kmensah.bmp", "Accra", "Ghana"),
        agent("AG101", kOtherCompany, "Laura Bianchi", "IN", "lbianchi.bmp", "Turin", "Italy"),
        agent("AG102", kOtherCompany, "Marco Rossi", "IN", "mrossi.bmp", "Milan", "Italy"),
        agent("AG103", kOtherCompany, "Nina Petrova", "EX", "npetrova.bmp", "Sofia", "Bulgaria"),
    };
}

bool isBitmapName(const QString& photo)
{
    return photo.endsWith(QLatin1String(".bmp"), Qt::CaseInsensitive);
}

class RowWriter
{
public:
    explicit RowWriter(QSqlDatabase& db) : m_query(db) {}

    // Stops at the first failure; later calls do nothing, error() tells the first.
    void insert(const QString& table, const QStringList& columns, const QVariantList& values)
    {
        if (!m_error.isEmpty())
            return;
        const QString statement =
            QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                .arg(table, columns.join(QStringLiteral(", ")),
                     QStringList(columns.size(), QStringLiteral("?")).join(QStringLiteral(", ")));
        if (statement != m_query.lastQuery() && !m_query.prepare(statement)) {
            m_error = table + QStringLiteral(": ") + m_query.lastError().text();
            return;
        }
        for (int i = 0; i < values.size(); ++i)
            m_query.bindValue(i, values.at(i));
        if (!m_query.exec())
            m_error = table + QStringLiteral(": ") + m_query.lastError().text();
    }

    QString error() const { return m_error; }

private:
    QSqlQuery m_query;
    QString m_error;
};

void insertAgents(RowWriter& writer)
{
    const QStringList columns{
        QStringLiteral("AgId"),       QStringLiteral("AgCoId"),    QStringLiteral("AgName"),
        QStringLiteral("AgCommPerc"), QStringLiteral("AgAdd1"),    QStringLiteral("AgTown"),
        QStringLiteral("AgCounty"),   QStringLiteral("AgCountry"), QStringLiteral("AgEmail"),
        QStringLiteral("AGTypeInd"),  QStringLiteral("AgPhoto")};
    int number = 0;
    for (const DemoAgent& agent : demoAgents()) {
        ++number;
        writer.insert(QStringLiteral("VL_AGENTS"), columns,
                      {agent.id, agent.companyId, agent.name, 10.0 + (number % 4) * 2.5,
                       QStringLiteral("%1 Harbour Street").arg(number * 7), agent.town, QString(),
                       agent.country, agent.email, agent.type, agent.photo});
    }
}

struct TaskRow
{
    QString company;
    int column = 0;
    QString title;
    QString description;
    Priority priority = kLow;
    const DemoAgent* consultant = nullptr;
    QString adhocName;
    int backgroundColour = kDefaultCardColour;
};

void insertTask(RowWriter& writer, GuidSequence& keys, const TaskRow& task)
{
    static const QStringList columns{
        QStringLiteral("KBGuidKey"),     QStringLiteral("KBCoId"),         QStringLiteral("KBColumnNo"),
        QStringLiteral("KBTitle"),       QStringLiteral("KBText"),         QStringLiteral("KBTextBGColor"),
        QStringLiteral("KBPriority"),    QStringLiteral("KBBitmap"),       QStringLiteral("KBBitmapName"),
        QStringLiteral("KBAgentID"),     QStringLiteral("KBConsultName"),  QStringLiteral("KBAdhocName"),
        QStringLiteral("KBPersonType"),  QStringLiteral("KBItemExpanded"), QStringLiteral("KBItemExpandable"),
        QStringLiteral("KBMarkerColor"), QStringLiteral("KBMarkerSize"),   QStringLiteral("KBTitleColor"),
        QStringLiteral("KBMarkerTop"),   QStringLiteral("KBTitleBackup"),  QStringLiteral("KBSortKey")};

    const bool forConsultant = task.consultant != nullptr;
    const QString person = forConsultant ? task.consultant->name : task.adhocName;
    const bool withPicture = forConsultant && isBitmapName(task.consultant->photo);
    writer.insert(QStringLiteral("VL_KANBAN"), columns,
                  {keys.next(),
                   task.company,
                   task.column,
                   (task.title + QStringLiteral(": ") + person).left(kTitleLimit),
                   task.description,
                   task.backgroundColour,
                   QString::fromLatin1(task.priority.name),
                   withPicture ? task.consultant->photo : kNoText,
                   withPicture ? person : kNoText,
                   forConsultant ? task.consultant->id : kNoText,
                   forConsultant ? person : kNoText,
                   forConsultant ? kNoText : person,
                   forConsultant ? QStringLiteral("Cons") : QStringLiteral("Adhoc"),
                   true,
                   true,
                   task.priority.markerColour,
                   3,
                   0,
                   1,
                   task.title,
                   task.priority.sortKey});
}

QList<const DemoAgent*> consultantsOf(const QString& company)
{
    QList<const DemoAgent*> result;
    for (const DemoAgent& agent : demoAgents())
        if (agent.companyId == company && agent.type == QLatin1String("IN"))
            result.append(&agent);
    return result;
}

void insertTasks(RowWriter& writer, GuidSequence& keys)
{
    const QList<const DemoAgent*> consultants = consultantsOf(QLatin1String(kDemoCompany));
    int index = 0;
    for (const TaskIdea& idea : kTaskIdeas) {
        TaskRow task;
        task.company = QLatin1String(kDemoCompany);
        task.column = kColumnPattern[index % std::size(kColumnPattern)];
        task.title = QString::fromUtf8(idea.title);
        task.description = QString::fromUtf8(idea.description);
        task.priority = kPriorityPattern[index % std::size(kPriorityPattern)];
        if (index % 3 == 2)
            task.adhocName = QString::fromUtf8(kAdhocNames[(index / 3) % std::size(kAdhocNames)]);
        else
            task.consultant = consultants.at(index % consultants.size());
        if (index % 9 == 4)
            task.backgroundColour = kCardColours[(index / 9) % std::size(kCardColours)];
        insertTask(writer, keys, task);
        ++index;
    }

    const QList<const DemoAgent*> otherConsultants = consultantsOf(QLatin1String(kOtherCompany));
    const int otherColumns[] = {0, 1, 3, 0, 2};
    index = 0;
    for (const TaskIdea& idea : kOtherCompanyTaskIdeas) {
        TaskRow task;
        task.company = QLatin1String(kOtherCompany);
        task.column = otherColumns[index];
        task.title = QString::fromUtf8(idea.title);
        task.description = QString::fromUtf8(idea.description);
        task.priority = kPriorityPattern[index];
        if (index == 4)
            task.adhocName = QStringLiteral("John Parker");
        else
            task.consultant = otherConsultants.at(index % otherConsultants.size());
        insertTask(writer, keys, task);
        ++index;
    }
}

void insertLetters(RowWriter& writer, GuidSequence& keys)
{
    struct Letter
    {
        const char* description;
        const char* salutation;
        const char* subject;
        const char* text;
    };
    const Letter letters[] = {
        {"Task reminder", "Dear colleague,", "Reminder: open task",
         "This task is still open on the board.\r\nPlease update its status or let me know if you need "
         "help."},
        {"New task assigned", "Hello,", "A new task for you",
         "A new task has been added to the board in your name.\r\nPlease have a look today."},
        {"Supplier follow-up", "Dear colleague,", "Supplier follow-up needed",
         "The supplier has not answered yet.\r\nPlease call them and note the outcome on the task."},
        {"Deadline approaching", "Hi,", "Deadline this week",
         "The deadline for this task is this week.\r\nTell me now if it cannot be met."},
        {"Task completed - thanks", "Dear colleague,", "Thank you",
         "Thank you for completing this task.\r\nIt has been moved to the Complete column."},
    };
    const QStringList columns{QStringLiteral("LetterGUID"), QStringLiteral("LetterDesc"),
                              QStringLiteral("LetterSalu"), QStringLiteral("LetterSubj"),
                              QStringLiteral("LetterText"), QStringLiteral("LetterDateTime")};
    const QDateTime firstWritten(QDate(2024, 3, 4), QTime(9, 30));
    int day = 0;
    for (const Letter& letter : letters) {
        writer.insert(QStringLiteral("VL_LETTERS"), columns,
                      {keys.next(), QString::fromUtf8(letter.description),
                       QString::fromUtf8(letter.salutation), QString::fromUtf8(letter.subject),
                       QString::fromUtf8(letter.text), firstWritten.addDays(day * 11).addSecs(day * 1800)});
        ++day;
    }
}

void insertBusinessRows(RowWriter& writer)
{
    const QStringList parms{QStringLiteral("ParmId"), QStringLiteral("ParmCoId"),
                            QStringLiteral("ParmCompanyName")};
    writer.insert(QStringLiteral("VL_PARMS"), parms,
                  {1, QLatin1String(kDemoCompany), QStringLiteral("Velora Travel")});
    writer.insert(QStringLiteral("VL_PARMS"), parms,
                  {2, QLatin1String(kOtherCompany), QStringLiteral("Velora Alpine")});

    const QStringList quotes{QStringLiteral("QuoteId"), QStringLiteral("QuoteDesc"),
                             QStringLiteral("QuoteNotes")};
    writer.insert(QStringLiteral("VL_QUOTE"), quotes,
                  {1041, QStringLiteral("Lisbon city break"), QStringLiteral("Sea-view rooms requested.")});
    writer.insert(
        QStringLiteral("VL_QUOTE"), quotes,
        {1042, QStringLiteral("Kenya safari"), QStringLiteral("Two travellers, vegetarian meals.")});
    writer.insert(QStringLiteral("VL_QUOTE"), quotes,
                  {1043, QStringLiteral("Alpine walking week"), QVariant()});

    const QStringList suppliers{QStringLiteral("SuppId"), QStringLiteral("SuppName")};
    writer.insert(QStringLiteral("VL_SUPPLIER"), suppliers,
                  {QStringLiteral("SUP-MIRAMAR"), QStringLiteral("Hotel Miramar")});
    writer.insert(QStringLiteral("VL_SUPPLIER"), suppliers,
                  {QStringLiteral("SUP-COACHLINE"), QStringLiteral("Coachline Transfers")});
    writer.insert(QStringLiteral("VL_SUPPLIER"), suppliers,
                  {QStringLiteral("SUP-SAVANNA"), QStringLiteral("Savanna Lodges")});
    writer.insert(QStringLiteral("VL_SUPPLIER"), suppliers,
                  {QStringLiteral("SUP-ALPGUIDE"), QStringLiteral("Alpine Guides")});

    const QStringList tours{QStringLiteral("TourId"), QStringLiteral("TourName"),
                            QStringLiteral("TourPrice")};
    writer.insert(QStringLiteral("VL_TOURPROD"), tours, {501, QStringLiteral("Lisbon and Sintra"), 899.00});
    writer.insert(QStringLiteral("VL_TOURPROD"), tours,
                  {502, QStringLiteral("Kenya Safari Classic"), 2450.00});
    writer.insert(QStringLiteral("VL_TOURPROD"), tours, {503, QStringLiteral("Christmas Markets"), 1175.50});
    writer.insert(QStringLiteral("VL_TOURPROD"), tours, {504, QStringLiteral("Glacier Express"), 1620.00});
}

} // namespace

const QList<DemoAgent>& demoAgents()
{
    static const QList<DemoAgent> agents = buildAgents();
    return agents;
}

QList<DemoAgent> consultantsWithPictures()
{
    QList<DemoAgent> result;
    for (const DemoAgent& agent : demoAgents())
        if (agent.type == QLatin1String("IN") && isBitmapName(agent.photo))
            result.append(agent);
    return result;
}

bool insertDemoRows(QSqlDatabase& db, QString* error)
{
    RowWriter writer(db);
    GuidSequence keys(kKeySeed);
    insertAgents(writer);
    insertTasks(writer, keys);
    insertLetters(writer, keys);
    insertBusinessRows(writer);
    if (!writer.error().isEmpty()) {
        if (error)
            *error = writer.error();
        return false;
    }
    return true;
}

} // namespace demodb
