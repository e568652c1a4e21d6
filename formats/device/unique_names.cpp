#include "formats/device/unique_names.h"

#include <new>
#include <string>

#include "converter/debug_log.h"
#include "toolkit/dialogs/message_box.h"

namespace device {

bool UniqueNames::allocate(int n) {
  DEBUG_WRITE({"  Allocate arrays"});
  const auto size = static_cast<std::size_t>(n > 0 ? n : 0);
  try {
    names_.assign(size, FixedText<20>());
    counts_.assign(size, 0);
    firsts_ = UniqueNameIndex();
  } catch (const std::bad_alloc&) {
    names_.clear();
    counts_.clear();
    // The run-time library gives no status of its own here; 1 stands for "no memory".
    const std::string text = "Could not allocate arrays. Runtime error = 1";
    WMessageBox(0, 3, 1, text, "Carrowmapper");
    DEBUG_WRITE({text});
    return false;
  }
  return true;
}

}  // namespace device
