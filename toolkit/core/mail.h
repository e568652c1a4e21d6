#pragma once
// Composing an e-mail (recipients, attachments, subject and text) and handing
// it to the machine's mail system: through the Common Messaging Calls when the
// registry says they are installed, otherwise through Simple MAPI.  Callers
// address recipients and attachments from index 0 and pass every text
// NUL-ended with the number of bytes to reserve for it.

#include <windows.h>

// Recipient types: any value other than 2 and 3 is a main recipient.
enum MailRecipientType : int { kMailMain = 1, kMailCopy = 2, kMailBlindCopy = 3 };

// Flags of YYMailSend.
enum MailSendFlag : int {
  kMailUserCompletes = 1,  // the mail program's window opens for the user to finish
  kMailSimpleMapi = 2,     // Simple MAPI even when CMC is configured
};

// Status of YYMailSend.
enum MailSendStatus : int { kMailSent = 0, kMailNoSimpleMapi = -1, kMailRefused = -2 };

void YYMailRecipientsInit(int count);
void YYMailRecipientAddress(int index, const char* address, int size);
void YYMailRecipientName(int index, const char* name, int size);
void YYMailRecipientType(int index, int type);
void YYMailAttachmentsInit(int count);
void YYMailAttachmentFile(int index, const char* path, int size);
bool YYMailCmcConfigured();
void YYMailSend(int flags, int& status, int& detail, const char* subject, const char* text);

// Frees both lists and forgets the CMC functions found so far.
void YYMailRelease();

// Simple MAPI's MAPISendMail is the one that root-window creation binds into
// the window table (windowTable.mapiSendMail); the CMC functions are looked
// up in mapi32.dll through this pointer.  Tests put their own in either place,
// so that no mail system is ever reached.
using ProcedureLookup = FARPROC(WINAPI*)(HMODULE, LPCSTR);
extern ProcedureLookup yyMailProcedureLookup;
