#include "toolkit/core/help.h"

// The help viewer is not part of the toolkit yet: asking for help shows
// nothing, and closing help has nothing to close.
void WHelpTopicShow(std::string_view helpFile, std::optional<int> topic, std::optional<int> option) {}
