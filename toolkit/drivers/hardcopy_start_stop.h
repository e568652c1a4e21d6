#pragma once
// Opening and closing a hardcopy, and the print command that sends a finished
// plot file on through the system's command interpreter.

#include <optional>
#include <string_view>

#include "toolkit/core/fixed_text.h"

// The command to run on the plot file when the hardcopy stops; an "@" in it
// marks where the file name goes.  Blank: none.
constexpr int kPrintCommandLength = 260;
extern FixedText<kPrintCommandLength> yyPrintCommand;

// A one-character option "S" or "s" stops the hardcopy (and runs the print
// command).  Anything else starts one with the current driver; a non-blank
// option is then the output name, and a name with " @ " in it is a print
// command for the drivers whose output may be sent on.  A title, when given,
// becomes the plot title.  Both stop and start first end any open plot.
void YYHardcopyStartStop(std::optional<std::string_view> option = std::nullopt,
                         std::optional<std::string_view> title = std::nullopt);

// Runs the command through the command interpreter in a hidden window and
// waits for it; a command that cannot be run reports error 13.
void YYPRNCMD(std::string_view command);
