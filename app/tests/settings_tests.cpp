// The settings store on the real profile functions.
#include <gtest/gtest.h>

#include "app/tests/app_fixture.h"
#include "config/settings.h"
#include "platform/error.h"
#include "platform/profile.h"
#include "service/views/credentials_window.h"
#include "tests/support/disk_twin.h"
#include "ui/prompts.h"

namespace {

using Settings = AppTest;

TEST_F(Settings, SectionAndKeyNamesMatchInAnyLetterCaseAndQuotesAreRemoved) {
  write("quelta.dll", "[config]\r\nToken=\"abc\"\r\nNOMEEMPRESA='Bar do Jo\xe3o'\r\n");
  config::StartupSettings s = config::readStartupSettings(dir.path());
  EXPECT_EQ(s.token, "abc");
  EXPECT_EQ(s.companyName, "Bar do Jo\xe3o");
}

TEST_F(Settings, AValueIsReadUpTo2047Characters) {
  std::string token(3000, 'x');
  token[2046] = 'y';
  write("quelta.dll", "[CONFIG]\r\ntoken=" + token + "\r\n");
  EXPECT_EQ(config::readStartupSettings(dir.path()).token, std::string(2046, 'x') + "y");
}

TEST_F(Settings, WritingReplacesInPlaceAndLeavesOtherLinesAlone) {
  write("quelta.dll", "[CONFIG]\r\ntoken=abc\r\nreload=N\r\nporta=7777\r\n[TREVANO]\r\nappID=1\r\n");
  config::raiseReload(dir.path());
  EXPECT_EQ(read("quelta.dll"),
            "[CONFIG]\r\ntoken=abc\r\nreload=S\r\nporta=7777\r\n[TREVANO]\r\nappID=1\r\n");
}

TEST_F(Settings, AWriteThatFailsNamesTheFile) {
  platform::createDirectory(file("quelta.dll"));  // nothing can be written there
  try {
    config::raiseReload(dir.path());
    FAIL() << "no error";
  } catch (const quelta::Error& e) {
    EXPECT_EQ(e.message(), "Unable to write to " + file("quelta.dll"));
  }
  // At program start the credentials window's failed write reaches the
  // error box, with the full stop the box adds.
  ui::Form::guarded([] { service::CredentialsWindow window; });
  ASSERT_EQ(prompts.texts("error").size(), 1u);
  EXPECT_EQ(prompts.texts("error")[0], "Unable to write to " + file("quelta.dll") + ".");
}

TEST(ErrorBox, AFullStopIsAddedWhenTheLastCharacterSortsAfterIt) {
  EXPECT_EQ(ui::errorBoxText("TJSONObject[\"name\"] not found."), "TJSONObject[\"name\"] not found.");
  EXPECT_EQ(ui::errorBoxText("Null key"), "Null key.");
  EXPECT_EQ(ui::errorBoxText("HTTP/1.1 404 Not Found"), "HTTP/1.1 404 Not Found.");
  EXPECT_EQ(ui::errorBoxText("erro 5"), "erro 5.");
  EXPECT_EQ(ui::errorBoxText("(falhou)"), "(falhou)");
  EXPECT_EQ(ui::errorBoxText("Pronto!"), "Pronto!");
  EXPECT_EQ(ui::errorBoxText("a-"), "a-");
  EXPECT_EQ(ui::errorBoxText("Configura\xe7\xe3o"), "Configura\xe7\xe3o.");
  EXPECT_EQ(ui::errorBoxText(""), "");
}

using Credentials = AppTest;

TEST_F(Credentials, CreationShowsTheStoredValuesAndRaisesReload) {
  write("quelta.dll", "[TREVANO]\r\nappID=loja-42\r\npass=s3nh@\r\n");
  service::CredentialsWindow window;
  EXPECT_EQ(window.control("edtAppID").text(), "loja-42");
  EXPECT_EQ(window.control("edtPass").text(), "s3nh@");
  EXPECT_EQ(window.caption(), "Trevano");
  EXPECT_EQ(read("quelta.dll"), "[TREVANO]\r\nappID=loja-42\r\npass=s3nh@\r\n[CONFIG]\r\nreload=S\r\n");
  RECT r;
  GetWindowRect(window.hwnd(), &r);
  EXPECT_EQ(r.right - r.left, 304);
  EXPECT_EQ(r.bottom - r.top, 237);
}

TEST_F(Credentials, EscSavesExactlyLikeSalvarAndEmptyValuesAreStored) {
  write("quelta.dll", "[TREVANO]\r\nappID=velho\r\npass=velha\r\n");
  prompts.modalScripts.push_back([](ui::Form& form) {
    form.control("edtAppID").setText("");
    form.control("edtPass").setText("n0va");
    HWND edit = form.control("edtPass").hwnd();
    SetFocus(edit);
    PostMessageA(edit, WM_KEYDOWN, VK_ESCAPE, 0);
    PostMessageA(edit, WM_KEYUP, VK_ESCAPE, 0);
    ui::pumpMessages();
    EXPECT_FALSE(form.isOpen());
  });
  service::CredentialsWindow::openModal(nullptr);
  EXPECT_EQ(prompts.modalCount, 1);
  EXPECT_EQ(platform::readProfileString(file("quelta.dll"), "TREVANO", "appID", "?"), "");
  EXPECT_EQ(platform::readProfileString(file("quelta.dll"), "TREVANO", "pass", "?"), "n0va");

  // The next opening shows what was stored.
  prompts.modalScripts.push_back([](ui::Form& form) {
    EXPECT_EQ(form.control("edtAppID").text(), "");
    EXPECT_EQ(form.control("edtPass").text(), "n0va");
  });
  service::CredentialsWindow::openModal(nullptr);
}

// Blank fields from a file that could not be read would be saved over the
// stored credentials by Salvar or Esc: the window does not open.
TEST_F(Credentials, ASettingsFileThatCannotBeReadIsAnErrorNotBlankFields) {
  const std::string before = "[TREVANO]\r\nappID=velho\r\npass=velha\r\n";
  write("quelta.dll", before);
  HANDLE held = CreateFileA(file("quelta.dll").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  bool opened = false;
  ui::Form::guarded([&] {
    service::CredentialsWindow window;
    opened = true;
  });
  CloseHandle(held);
  EXPECT_FALSE(opened);
  ASSERT_EQ(prompts.texts("error").size(), 1u);
  EXPECT_EQ(prompts.texts("error")[0].rfind("Cannot open file \"" + file("quelta.dll") + "\". ", 0),
            0u);
  EXPECT_EQ(read("quelta.dll"), before);
}

// The pair is written by two calls: when the password's fails, the app ID
// goes back as it was, its old value or no key (nor section) at all.
TEST_F(Credentials, APasswordThatCannotBeWrittenPutsTheAppIDBack) {
  for (std::string before :
       {"[CONFIG]\r\nreload=S\r\n[TREVANO]\r\nappID=velho\r\n", "[CONFIG]\r\nreload=S\r\n"}) {
    write("quelta.dll", before);
    prompts.shown.clear();
    service::CredentialsWindow window;
    window.control("edtAppID").setText("novo");
    window.control("edtPass").setText("nova");
    {
      DiskTwin disk;
      disk.failAt = 3;  // after reading the old app ID and writing the new one
      ui::Form::guarded([&] { window.btnLoginClick(); });
    }
    EXPECT_EQ(read("quelta.dll"), before);
    ASSERT_EQ(prompts.texts("error").size(), 1u);
    EXPECT_EQ(
        prompts.texts("error")[0].rfind("Cannot write file \"" + file("quelta.dll") + "\". ", 0),
        0u);
  }
}

TEST_F(Credentials, ClosingByTheCloseBoxStoresNothing) {
  write("quelta.dll", "[TREVANO]\r\nappID=velho\r\n");
  prompts.modalScripts.push_back([](ui::Form& form) {
    form.control("edtAppID").setText("novo");
    SendMessageA(form.hwnd(), WM_CLOSE, 0, 0);
  });
  service::CredentialsWindow::openModal(nullptr);
  EXPECT_EQ(platform::readProfileString(file("quelta.dll"), "TREVANO", "appID", "?"), "velho");
}

}  // namespace
