#pragma once

#include "platform/Statement.h"

// The statements the task store sends, one per operation, as the product sends them to SQL Server.
namespace store::statements {

platform::Statement fetchItems();
platform::Statement insertKBItem();
platform::Statement updateKanbanItem();
platform::Statement deleteKBItem();
platform::Statement fetchSelectedKBItem();
platform::Statement checkIfTargetExist();

platform::Statement adHocByName();
platform::Statement adHocAll();
platform::Statement consultantByName();
platform::Statement consultantAll();
platform::Statement priorityByPrefix();
platform::Statement consultants();
platform::Statement fetchAgent();
platform::Statement taskStatistics();

} // namespace store::statements
