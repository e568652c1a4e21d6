#pragma once
// Help files: showing a topic or a whole help file, and closing the help
// window the program opened.

#include <optional>
#include <string_view>

// A help file ending in ".hlp" with a topic shows that topic; without a topic
// the file; a blank file name closes any help window the program opened.
void WHelpTopicShow(std::string_view helpFile, std::optional<int> topic = std::nullopt,
                    std::optional<int> option = std::nullopt);
