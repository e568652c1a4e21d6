#include "toolkit/core/mail.h"

#include <mapi.h>
#include <xcmc.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>
#include <utility>
#include <vector>

#include "toolkit/core/file_ops.h"
#include "toolkit/core/registry.h"
#include "toolkit/core/scoped_handle.h"
#include "toolkit/core/toolkit_settings.h"
#include "toolkit/core/window_table.h"

ProcedureLookup yyMailProcedureLookup = &GetProcAddress;

namespace {

// Zeroed, fixed GlobalAlloc memory: its handle is its address.
GlobalMemory zeroedBlock(std::size_t bytes) { return GlobalMemory{GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, bytes)}; }

template <typename T>
T* blockAs(const GlobalMemory& block) {
  return static_cast<T*>(block.get());
}

// A copy of a NUL-ended text in a block of the size the caller reserves; a
// text longer than that is cut so that its NUL still fits.
GlobalMemory textCopy(const char* text, int size) {
  const std::size_t bytes = static_cast<std::size_t>(std::max(size, 1));
  GlobalMemory block = zeroedBlock(bytes);
  if (block.get() != nullptr && text != nullptr) {
    const std::size_t n = std::min(std::strlen(text), bytes - 1);
    std::memcpy(blockAs<char>(block), text, n);
  }
  return block;
}

enum RecipientText : std::size_t { kCmcName, kCmcAddress, kMapiName, kMapiAddress, kRecipientTexts };

struct RecipientList {
  int count = 0;
  int allocated = 0;
  GlobalMemory cmc;   // CMC_recipient[allocated]
  GlobalMemory mapi;  // MapiRecipDesc[allocated]
  std::vector<std::array<GlobalMemory, kRecipientTexts>> texts;
};

struct AttachmentList {
  int count = 0;
  GlobalMemory cmc;   // CMC_attachment[count]
  GlobalMemory mapi;  // MapiFileDesc[count]
  std::vector<GlobalMemory> paths;  // one copy each for the CMC and the MAPI record
};

RecipientList recipients;
AttachmentList attachments;

// The type that CMC gives an attachment whose kind it is not told.
char kAttachmentType[] = "? ? ? ? ? ?";
char kMessageType[] = "CMC: IPM";
char kEmpty[] = "";

using CmcLogon = CMC_return_code(WINAPI*)(CMC_string, CMC_string, CMC_string, CMC_object_identifier, CMC_ui_id,
                                          CMC_uint16, CMC_flags, CMC_session_id*, CMC_extension*);
using CmcSend = CMC_return_code(WINAPI*)(CMC_session_id, CMC_message*, CMC_flags, CMC_ui_id, CMC_extension*);
using CmcLogoff = CMC_return_code(WINAPI*)(CMC_session_id, CMC_ui_id, CMC_flags, CMC_extension*);

struct CmcFunctions {
  CmcLogon logon = nullptr;
  CmcSend send = nullptr;
  CmcLogoff logoff = nullptr;
};
CmcFunctions cmcFunctions;

template <typename Function>
void lookUp(Function& function, const char* name) {
  if (function == nullptr && windowTable.mapi32 != nullptr) {
    function = reinterpret_cast<Function>(yyMailProcedureLookup(windowTable.mapi32, name));
  }
}

bool cmcFunctionsFound() {
  lookUp(cmcFunctions.logon, "cmc_logon");
  lookUp(cmcFunctions.send, "cmc_send");
  lookUp(cmcFunctions.logoff, "cmc_logoff");
  return cmcFunctions.logon != nullptr && cmcFunctions.send != nullptr && cmcFunctions.logoff != nullptr;
}

CMC_recipient* cmcRecipient(int index) {
  return index >= 0 && index < recipients.allocated ? blockAs<CMC_recipient>(recipients.cmc) + index : nullptr;
}
MapiRecipDesc* mapiRecipient(int index) {
  return index >= 0 && index < recipients.allocated ? blockAs<MapiRecipDesc>(recipients.mapi) + index : nullptr;
}

// Puts a fresh copy into a text slot, freeing what the slot held.
char* store(GlobalMemory& slot, const char* text, int size) {
  slot = textCopy(text, size);
  return blockAs<char>(slot);
}

void sendCmc(int flags, int& status, int& detail, const char* subject, const char* text) {
  const CMC_ui_id frame = static_cast<CMC_ui_id>(reinterpret_cast<ULONG_PTR>(slotOf(0).frame));
  CMC_session_id session = 0;
  const CMC_return_code logon = cmcFunctions.logon(nullptr, nullptr, nullptr, nullptr, frame, CMC_VERSION,
                                                   CMC_ERROR_UI_ALLOWED | CMC_LOGON_UI_ALLOWED, &session, nullptr);
  if (logon != CMC_SUCCESS) {
    status = kMailRefused;
    detail = static_cast<int>(logon);
    return;
  }
  CMC_message message{};
  message.message_reference = nullptr;
  message.message_type = kMessageType;
  message.subject = const_cast<char*>(subject);
  message.text_note = const_cast<char*>(text);
  message.recipients = blockAs<CMC_recipient>(recipients.cmc);
  message.attachments = attachments.count > 0 ? blockAs<CMC_attachment>(attachments.cmc) : nullptr;
  message.message_flags = CMC_MSG_LAST_ELEMENT;
  message.message_extensions = nullptr;
  CMC_flags sendFlags = CMC_ERROR_UI_ALLOWED | CMC_LOGON_UI_ALLOWED;
  if ((flags & kMailUserCompletes) != 0 || recipients.count == 0) sendFlags |= CMC_SEND_UI_REQUESTED;
  const CMC_return_code sent = cmcFunctions.send(session, &message, sendFlags, frame, nullptr);
  cmcFunctions.logoff(session, frame, CMC_LOGOFF_UI_ALLOWED | CMC_ERROR_UI_ALLOWED, nullptr);
  status = sent == CMC_SUCCESS ? kMailSent : kMailRefused;
  detail = static_cast<int>(sent);
}

void sendSimpleMapi(int flags, int& status, int& detail, const char* subject, const char* text) {
  const auto send = reinterpret_cast<LPMAPISENDMAIL>(windowTable.mapiSendMail);
  if (send == nullptr) {
    status = kMailNoSimpleMapi;
    detail = 0;
    return;
  }
  MapiMessage message{};
  message.lpszSubject = const_cast<char*>(subject);
  message.lpszNoteText = const_cast<char*>(text);
  message.lpszDateReceived = kEmpty;
  message.lpszConversationID = kEmpty;
  message.lpOriginator = nullptr;
  message.nRecipCount = static_cast<ULONG>(std::max(recipients.count, 0));
  message.lpRecips = blockAs<MapiRecipDesc>(recipients.mapi);
  message.nFileCount = static_cast<ULONG>(std::max(attachments.count, 0));
  message.lpFiles = attachments.count > 0 ? blockAs<MapiFileDesc>(attachments.mapi) : nullptr;
  FLAGS mapiFlags = MAPI_LOGON_UI;
  if ((flags & kMailUserCompletes) != 0 || recipients.count <= 0) mapiFlags |= MAPI_DIALOG;
  const ULONG result = send(0, reinterpret_cast<ULONG_PTR>(slotOf(0).frame), &message, mapiFlags, 0);
  status = result == SUCCESS_SUCCESS ? kMailSent : kMailRefused;
  detail = static_cast<int>(result);
}

}  // namespace

void YYMailRecipientsInit(int count) {
  recipients = RecipientList{};
  const int allocated = std::max(count, 1);
  recipients.count = count;
  recipients.cmc = zeroedBlock(sizeof(CMC_recipient) * static_cast<std::size_t>(allocated));
  recipients.mapi = zeroedBlock(sizeof(MapiRecipDesc) * static_cast<std::size_t>(allocated));
  if (blockAs<CMC_recipient>(recipients.cmc) == nullptr || blockAs<MapiRecipDesc>(recipients.mapi) == nullptr) {
    recipients = RecipientList{};
    return;
  }
  recipients.allocated = allocated;
  recipients.texts.resize(static_cast<std::size_t>(allocated));
  CMC_recipient* cmc = blockAs<CMC_recipient>(recipients.cmc);
  for (int i = 0; i < allocated; ++i) {
    cmc[i].name_type = CMC_TYPE_UNKNOWN;
    cmc[i].role = CMC_ROLE_TO;
    cmc[i].recip_flags = i == allocated - 1 ? CMC_RECIP_LAST_ELEMENT : 0;
    cmc[i].recip_extensions = nullptr;
  }
  blockAs<MapiRecipDesc>(recipients.mapi)[0].ulRecipClass = MAPI_TO;
}

void YYMailRecipientAddress(int index, const char* address, int size) {
  CMC_recipient* cmc = cmcRecipient(index);
  MapiRecipDesc* mapi = mapiRecipient(index);
  if (cmc == nullptr || mapi == nullptr) return;
  auto& texts = recipients.texts[static_cast<std::size_t>(index)];
  cmc->address = store(texts[kCmcAddress], address, size);
  mapi->lpszAddress = store(texts[kMapiAddress], address, size);
}

void YYMailRecipientName(int index, const char* name, int size) {
  CMC_recipient* cmc = cmcRecipient(index);
  MapiRecipDesc* mapi = mapiRecipient(index);
  if (cmc == nullptr || mapi == nullptr) return;
  auto& texts = recipients.texts[static_cast<std::size_t>(index)];
  const bool empty = name == nullptr || name[0] == '\0';
  if (empty && cmc->address != nullptr) {
    cmc->name = store(texts[kCmcName], cmc->address, static_cast<int>(std::strlen(cmc->address)) + 1);
  } else {
    cmc->name = store(texts[kCmcName], name, size);
  }
  mapi->lpszName = store(texts[kMapiName], name, size);
}

void YYMailRecipientType(int index, int type) {
  CMC_recipient* cmc = cmcRecipient(index);
  MapiRecipDesc* mapi = mapiRecipient(index);
  if (cmc == nullptr || mapi == nullptr) return;
  switch (type) {
    case kMailCopy:
      cmc->role = CMC_ROLE_CC;
      mapi->ulRecipClass = MAPI_CC;
      break;
    case kMailBlindCopy:
      cmc->role = CMC_ROLE_BCC;
      mapi->ulRecipClass = MAPI_BCC;
      break;
    default:
      cmc->role = CMC_ROLE_TO;
      mapi->ulRecipClass = MAPI_TO;
      break;
  }
}

void YYMailAttachmentsInit(int count) {
  attachments = AttachmentList{};
  attachments.count = count;
  if (count <= 0) return;
  attachments.cmc = zeroedBlock(sizeof(CMC_attachment) * static_cast<std::size_t>(count));
  attachments.mapi = zeroedBlock(sizeof(MapiFileDesc) * static_cast<std::size_t>(count));
  if (blockAs<CMC_attachment>(attachments.cmc) == nullptr || blockAs<MapiFileDesc>(attachments.mapi) == nullptr) {
    attachments = AttachmentList{};
    return;
  }
  attachments.paths.resize(2 * static_cast<std::size_t>(count));
  CMC_attachment* cmc = blockAs<CMC_attachment>(attachments.cmc);
  MapiFileDesc* mapi = blockAs<MapiFileDesc>(attachments.mapi);
  for (int i = 0; i < count; ++i) {
    cmc[i].attach_title = nullptr;
    cmc[i].attach_type = kAttachmentType;
    cmc[i].attach_flags = i == count - 1 ? CMC_ATT_LAST_ELEMENT : 0;
    cmc[i].attach_extensions = nullptr;
    mapi[i].flFlags = 0;
    mapi[i].nPosition = static_cast<ULONG>(-1);
    mapi[i].lpszFileName = nullptr;
    mapi[i].lpFileType = nullptr;
  }
}

void YYMailAttachmentFile(int index, const char* path, int size) {
  if (index < 0 || index >= attachments.count || attachments.paths.empty()) return;
  const std::size_t i = static_cast<std::size_t>(index);
  blockAs<CMC_attachment>(attachments.cmc)[index].attach_filename = store(attachments.paths[2 * i], path, size);
  blockAs<MapiFileDesc>(attachments.mapi)[index].lpszPathName = store(attachments.paths[2 * i + 1], path, size);
}

bool YYMailCmcConfigured() {
  FixedText<16> value;
  int type = 0;
  IOsRegistryGet("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows Messaging Subsystem", value.field(), "CMC",
                 &type);
  return (type == REG_SZ || type == REG_EXPAND_SZ) && value == std::string_view("1");
}

void YYMailSend(int flags, int& status, int& detail, const char* subject, const char* text) {
  const bool cmc = (flags & kMailSimpleMapi) == 0 && YYMailCmcConfigured() && cmcFunctionsFound();
  // The mail system may change the current directory; it is set back.
  std::array<char, kPathLength> current{};
  int error = 0;
  int truncated = 0;
  YYOsGetCwd(current.data(), static_cast<int>(current.size()), error, truncated);
  if (cmc) {
    sendCmc(flags, status, detail, subject, text);
  } else {
    sendSimpleMapi(flags, status, detail, subject, text);
  }
  if (error == 0 && truncated == 0) YYOsChDir(current.data(), error);
}

void YYMailRelease() {
  recipients = RecipientList{};
  attachments = AttachmentList{};
  cmcFunctions = CmcFunctions{};
}
