#include "toolkit/core/toolkit_settings.h"

ToolkitSettings toolkitSettings;
