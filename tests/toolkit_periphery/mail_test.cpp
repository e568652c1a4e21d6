// The mail layer, with test functions in place of MAPISendMail and the CMC
// calls: the records the mail system would get are checked, no mail is sent.
#include <gtest/gtest.h>
#include <windows.h>

#include <mapi.h>
#include <xcmc.h>

#include <string>
#include <vector>

#include "periphery_fixture.h"
#include "toolkit/core/mail.h"
#include "toolkit/core/registry.h"

namespace {

struct Recipient {
  unsigned kind = 0;  // MAPI class or CMC role
  std::string name;
  std::string address;
  unsigned flags = 0;
};

struct File {
  std::string path;
  ULONG position = 0;
  std::string type;
  unsigned flags = 0;
};

struct Sent {
  std::string via;
  ULONG_PTR window = 0;
  unsigned flags = 0;
  std::string subject, text, messageType;
  std::vector<Recipient> recipients;
  std::vector<File> files;
};

std::vector<Sent> sent;
ULONG mapiAnswer = SUCCESS_SUCCESS;
CMC_return_code logonAnswer = CMC_SUCCESS;
CMC_return_code sendAnswer = CMC_SUCCESS;
std::vector<unsigned> logoffFlags;
std::vector<unsigned> logonFlags;

std::string text(const char* s) { return s != nullptr ? s : "(null)"; }

ULONG WINAPI fakeMapiSendMail(LHANDLE session, ULONG_PTR window, lpMapiMessage message, FLAGS flags, ULONG) {
  EXPECT_EQ(session, 0u);
  Sent s{
      "MAPI", window, static_cast<unsigned>(flags), text(message->lpszSubject), text(message->lpszNoteText), {}, {}, {},
  };
  EXPECT_STREQ(message->lpszDateReceived, "");
  EXPECT_STREQ(message->lpszConversationID, "");
  EXPECT_EQ(message->lpOriginator, nullptr);
  for (ULONG i = 0; i < message->nRecipCount; ++i) {
    const MapiRecipDesc& r = message->lpRecips[i];
    s.recipients.push_back({static_cast<unsigned>(r.ulRecipClass), text(r.lpszName), text(r.lpszAddress), 0});
  }
  for (ULONG i = 0; i < message->nFileCount; ++i) {
    const MapiFileDesc& f = message->lpFiles[i];
    s.files.push_back({text(f.lpszPathName), f.nPosition, text(f.lpszFileName), static_cast<unsigned>(f.flFlags)});
  }
  sent.push_back(s);
  SetCurrentDirectoryA("C:\\");  // mail systems do that
  return mapiAnswer;
}

CMC_return_code WINAPI fakeLogon(CMC_string service, CMC_string user, CMC_string password, CMC_object_identifier,
                                 CMC_ui_id, CMC_uint16 version, CMC_flags flags, CMC_session_id* session,
                                 CMC_extension*) {
  EXPECT_EQ(service, nullptr);
  EXPECT_EQ(user, nullptr);
  EXPECT_EQ(password, nullptr);
  EXPECT_EQ(version, 100);
  logonFlags.push_back(flags);
  *session = 77;
  return logonAnswer;
}

CMC_return_code WINAPI fakeSend(CMC_session_id session, CMC_message* message, CMC_flags flags, CMC_ui_id window,
                                CMC_extension*) {
  EXPECT_EQ(session, 77u);
  EXPECT_EQ(message->message_flags, CMC_MSG_LAST_ELEMENT);
  Sent s{
      "CMC",
      window,
      static_cast<unsigned>(flags),
      text(message->subject),
      text(message->text_note),
      text(message->message_type),
      {},
      {},
  };
  for (CMC_recipient* r = message->recipients; r != nullptr; ++r) {
    s.recipients.push_back({static_cast<unsigned>(r->role), text(r->name), text(r->address), r->recip_flags});
    if (r->recip_flags & CMC_RECIP_LAST_ELEMENT) break;
  }
  for (CMC_attachment* a = message->attachments; a != nullptr; ++a) {
    s.files.push_back({text(a->attach_filename), 0, text(a->attach_type), a->attach_flags});
    if (a->attach_flags & CMC_ATT_LAST_ELEMENT) break;
  }
  sent.push_back(s);
  return sendAnswer;
}

CMC_return_code WINAPI fakeLogoff(CMC_session_id session, CMC_ui_id, CMC_flags flags, CMC_extension*) {
  EXPECT_EQ(session, 77u);
  logoffFlags.push_back(flags);
  return CMC_SUCCESS;
}

FARPROC WINAPI fakeLookup(HMODULE, LPCSTR name) {
  const std::string n(name);
  if (n == "cmc_logon") return reinterpret_cast<FARPROC>(&fakeLogon);
  if (n == "cmc_send") return reinterpret_cast<FARPROC>(&fakeSend);
  if (n == "cmc_logoff") return reinterpret_cast<FARPROC>(&fakeLogoff);
  return nullptr;
}

FARPROC WINAPI noCmc(HMODULE, LPCSTR) { return nullptr; }

constexpr const char* kMessagingKey = "SOFTWARE\\Microsoft\\Windows Messaging Subsystem";

void setCmcValue(const char* value) {
  int status = 0;
  if (value == nullptr) {
    YYRegDeleteValue(HKEY_LOCAL_MACHINE, status, kMessagingKey, "CMC");
  } else {
    YYRegWrite(HKEY_LOCAL_MACHINE, REG_SZ, status, kMessagingKey, "CMC", value, static_cast<int>(strlen(value)) + 1);
  }
}

class Mail : public periphery_test::RootWindow {
 protected:
  void SetUp() override {
    RootWindow::SetUp();
    sent.clear();
    logonFlags.clear();
    logoffFlags.clear();
    mapiAnswer = SUCCESS_SUCCESS;
    logonAnswer = sendAnswer = CMC_SUCCESS;
    YYMailRelease();
    windowTable.mapiSendMail = reinterpret_cast<FARPROC>(&fakeMapiSendMail);
    yyMailProcedureLookup = &fakeLookup;
    setCmcValue(nullptr);
    char current[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof current, current);
    directory_ = current;
  }
  void TearDown() override {
    setCmcValue(nullptr);
    YYMailRelease();
    yyMailProcedureLookup = &GetProcAddress;
    windowTable.mapiSendMail = nullptr;
    SetCurrentDirectoryA(directory_.c_str());
    RootWindow::TearDown();
  }
  // Three recipients (main, copy, blind copy; the second without a name) and
  // two attachments.
  static void compose() {
    YYMailRecipientsInit(3);
    const char* addresses[] = {"ann@example.org", "bob@example.org", "cy@example.org"};
    const char* names[] = {"Ann", "", "Cy"};
    for (int i = 0; i < 3; ++i) {
      YYMailRecipientAddress(i, addresses[i], 64);
      YYMailRecipientName(i, names[i], 64);
      YYMailRecipientType(i, i + 1);
    }
    YYMailAttachmentsInit(2);
    YYMailAttachmentFile(0, "C:\\data\\route.gpx", 260);
    YYMailAttachmentFile(1, "C:\\data\\points.kml", 260);
  }
  ULONG_PTR frame() const { return reinterpret_cast<ULONG_PTR>(windowTable.slots[0].frame); }
  std::string directory_;
};

TEST_F(Mail, SimpleMapiCarriesRecipientsAndAttachments) {
  compose();
  int status = 9;
  int detail = 9;
  YYMailSend(0, status, detail, "Routes", "Two files.");
  EXPECT_EQ(status, 0);
  EXPECT_EQ(detail, 0);
  ASSERT_EQ(sent.size(), 1u);
  const Sent& s = sent[0];
  EXPECT_EQ(s.via, "MAPI");
  EXPECT_EQ(s.window, frame());
  EXPECT_EQ(s.flags, static_cast<unsigned>(MAPI_LOGON_UI));
  EXPECT_EQ(s.subject, "Routes");
  EXPECT_EQ(s.text, "Two files.");
  ASSERT_EQ(s.recipients.size(), 3u);
  EXPECT_EQ(s.recipients[0].kind, static_cast<unsigned>(MAPI_TO));
  EXPECT_EQ(s.recipients[0].name, "Ann");
  EXPECT_EQ(s.recipients[0].address, "ann@example.org");
  EXPECT_EQ(s.recipients[1].kind, static_cast<unsigned>(MAPI_CC));
  EXPECT_EQ(s.recipients[1].name, "");  // Simple MAPI keeps the empty name
  EXPECT_EQ(s.recipients[2].kind, static_cast<unsigned>(MAPI_BCC));
  ASSERT_EQ(s.files.size(), 2u);
  EXPECT_EQ(s.files[0].path, "C:\\data\\route.gpx");
  EXPECT_EQ(s.files[0].position, static_cast<ULONG>(-1));
  EXPECT_EQ(s.files[0].type, "(null)");
  EXPECT_EQ(s.files[1].path, "C:\\data\\points.kml");
  // The mail system moved the current directory; it is back.
  char current[MAX_PATH] = {};
  GetCurrentDirectoryA(sizeof current, current);
  EXPECT_EQ(std::string(current), directory_);
  // Sending keeps the composition: it can go twice.
  YYMailSend(0, status, detail, "Again", "");
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[1].recipients.size(), 3u);
  EXPECT_EQ(sent[1].files.size(), 2u);
}

TEST_F(Mail, UserCompletesWithoutRecipientsOrWhenAsked) {
  int status = 0;
  int detail = 0;
  YYMailRecipientsInit(0);
  YYMailAttachmentsInit(0);
  YYMailSend(0, status, detail, "s", "t");
  compose();
  YYMailSend(kMailUserCompletes, status, detail, "s", "t");
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_TRUE(sent[0].recipients.empty());
  EXPECT_TRUE(sent[0].files.empty());
  EXPECT_EQ(sent[0].flags, static_cast<unsigned>(MAPI_LOGON_UI | MAPI_DIALOG));
  EXPECT_EQ(sent[1].flags, static_cast<unsigned>(MAPI_LOGON_UI | MAPI_DIALOG));
}

TEST_F(Mail, RefusalsAndMissingSimpleMapi) {
  compose();
  int status = 0;
  int detail = 0;
  mapiAnswer = MAPI_E_USER_ABORT;
  YYMailSend(0, status, detail, "s", "t");
  EXPECT_EQ(status, kMailRefused);
  EXPECT_EQ(detail, static_cast<int>(MAPI_E_USER_ABORT));
  windowTable.mapiSendMail = nullptr;
  YYMailSend(0, status, detail, "s", "t");
  EXPECT_EQ(status, kMailNoSimpleMapi);
  EXPECT_EQ(detail, 0);
}

TEST_F(Mail, TextsKeepToTheReservedSizeAndIndicesToTheList) {
  YYMailRecipientsInit(1);
  YYMailRecipientAddress(0, "abcdefgh", 4);
  YYMailRecipientName(0, "Someone", 5);
  YYMailRecipientAddress(1, "beyond@example.org", 64);  // no such record
  YYMailRecipientType(-1, 2);
  YYMailAttachmentsInit(1);
  YYMailAttachmentFile(0, "C:\\a\\b.gpx", 6);
  YYMailAttachmentFile(3, "C:\\nowhere", 64);
  int status = 0;
  int detail = 0;
  YYMailSend(0, status, detail, "s", "t");
  ASSERT_EQ(sent.size(), 1u);
  ASSERT_EQ(sent[0].recipients.size(), 1u);
  EXPECT_EQ(sent[0].recipients[0].address, "abc");
  EXPECT_EQ(sent[0].recipients[0].name, "Some");
  EXPECT_EQ(sent[0].recipients[0].kind, static_cast<unsigned>(MAPI_TO));
  ASSERT_EQ(sent[0].files.size(), 1u);
  EXPECT_EQ(sent[0].files[0].path, "C:\\a\\");
}

TEST_F(Mail, CmcWhenTheRegistrySaysSo) {
  setCmcValue("1");
  ASSERT_TRUE(YYMailCmcConfigured());
  compose();
  int status = 9;
  int detail = 9;
  YYMailSend(0, status, detail, "Routes", "Two files.");
  EXPECT_EQ(status, 0);
  EXPECT_EQ(detail, 0);
  ASSERT_EQ(sent.size(), 1u);
  const Sent& s = sent[0];
  EXPECT_EQ(s.via, "CMC");
  EXPECT_EQ(s.window, frame());
  EXPECT_EQ(s.messageType, "CMC: IPM");
  EXPECT_EQ(s.flags, static_cast<unsigned>(CMC_ERROR_UI_ALLOWED | CMC_LOGON_UI_ALLOWED));
  ASSERT_EQ(s.recipients.size(), 3u);
  EXPECT_EQ(s.recipients[0].kind, static_cast<unsigned>(CMC_ROLE_TO));
  EXPECT_EQ(s.recipients[0].name, "Ann");
  EXPECT_EQ(s.recipients[1].kind, static_cast<unsigned>(CMC_ROLE_CC));
  EXPECT_EQ(s.recipients[1].name, "bob@example.org");  // named by its address
  EXPECT_EQ(s.recipients[2].kind, static_cast<unsigned>(CMC_ROLE_BCC));
  EXPECT_EQ(s.recipients[0].flags, 0u);
  EXPECT_EQ(s.recipients[2].flags, CMC_RECIP_LAST_ELEMENT);
  ASSERT_EQ(s.files.size(), 2u);
  EXPECT_EQ(s.files[0].path, "C:\\data\\route.gpx");
  EXPECT_EQ(s.files[0].type, "? ? ? ? ? ?");
  EXPECT_EQ(s.files[1].flags, CMC_ATT_LAST_ELEMENT);
  ASSERT_EQ(logonFlags.size(), 1u);
  EXPECT_EQ(logonFlags[0], static_cast<unsigned>(CMC_ERROR_UI_ALLOWED | CMC_LOGON_UI_ALLOWED));
  ASSERT_EQ(logoffFlags.size(), 1u);
  EXPECT_EQ(logoffFlags[0], static_cast<unsigned>(CMC_LOGOFF_UI_ALLOWED | CMC_ERROR_UI_ALLOWED));

  // Without recipients the user completes the message.
  YYMailRecipientsInit(0);
  YYMailSend(0, status, detail, "s", "t");
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_NE(sent[1].flags & CMC_SEND_UI_REQUESTED, 0u);
}

TEST_F(Mail, SimpleMapiWhenAskedOrWhenCmcIsMissing) {
  setCmcValue("1");
  compose();
  int status = 0;
  int detail = 0;
  YYMailSend(kMailSimpleMapi, status, detail, "s", "t");
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].via, "MAPI");
  EXPECT_TRUE(logonFlags.empty());

  // CMC configured, but mapi32.dll has no CMC functions.
  yyMailProcedureLookup = &noCmc;
  YYMailSend(0, status, detail, "s", "t");
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[1].via, "MAPI");

  // Not configured ("0"): Simple MAPI, and without it nothing at all.
  yyMailProcedureLookup = &fakeLookup;
  setCmcValue("0");
  EXPECT_FALSE(YYMailCmcConfigured());
  windowTable.mapiSendMail = nullptr;
  YYMailSend(0, status, detail, "s", "t");
  EXPECT_EQ(status, kMailNoSimpleMapi);
  EXPECT_TRUE(logonFlags.empty());
}

TEST_F(Mail, CmcRefusals) {
  setCmcValue("1");
  compose();
  int status = 0;
  int detail = 0;
  logonAnswer = CMC_E_USER_CANCEL;
  YYMailSend(0, status, detail, "s", "t");
  EXPECT_EQ(status, kMailRefused);
  EXPECT_EQ(detail, static_cast<int>(CMC_E_USER_CANCEL));
  EXPECT_TRUE(sent.empty());
  EXPECT_TRUE(logoffFlags.empty());

  logonAnswer = CMC_SUCCESS;
  sendAnswer = CMC_E_INVALID_MESSAGE_PARAMETER;
  YYMailSend(0, status, detail, "s", "t");
  EXPECT_EQ(status, kMailRefused);
  EXPECT_EQ(detail, static_cast<int>(CMC_E_INVALID_MESSAGE_PARAMETER));
  EXPECT_EQ(logoffFlags.size(), 1u);
}

}  // namespace
