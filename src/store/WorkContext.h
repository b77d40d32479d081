#pragma once

#include <QString>

// Who is working and for which company, as read from the settings file at start-up.
// Only CompanyCode is consulted: it limits every task and agent query.
struct WorkContext
{
    QString UserId;
    QString Entity;
    QString CompanyCode;
};
