// The companion library: card masks and cards, game-kind detection, hand-history
// file reading, UTF-8 copies, file services, privileges and ODBC access.
#pragma once

#include "companion/CCard.h"
#include "companion/CDBField.h"
#include "companion/CDatabase.h"
#include "companion/CODBCRecordset.h"
#include "companion/COdbcEnvironment.h"
#include "companion/CardMasks.h"
#include "companion/FileServices.h"
#include "companion/GetTypeGameHH.h"
#include "companion/Privileges.h"
#include "companion/ReadHistoryFileEx.h"
#include "companion/TestDSNDriver.h"
#include "companion/Utf8Strings.h"
