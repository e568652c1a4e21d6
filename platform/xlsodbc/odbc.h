#pragma once
// The ODBC functions, types and constants of our layer: the published ODBC API,
// which this folder implements in place of the system's driver manager and its
// Excel driver.  The ODBC headers need the Windows types first.
#include <windows.h>

#include <sql.h>
#include <sqlext.h>
