#pragma once
// Toolkit start-up, settings and the abnormal exit.

#include <string_view>

// Shows the abnormal-exit box unless the message is blank, then ends the process
// with the code.  The toolkit is not shut down.
[[noreturn]] void YYAbnormalExit(std::string_view message, int code);
