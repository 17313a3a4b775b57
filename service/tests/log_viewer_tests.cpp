#include <gtest/gtest.h>

#include "platform/files.h"
#include "service/log_viewer.h"
#include "tests/support/scripted_http.h"
#include "tests/support/temp_dir.h"

namespace {

using Lines = std::vector<std::string>;
const std::string kStatus = "http://127.0.0.1:7777?status";
const std::string kSeparator(39, '-');
#ifdef _WIN32
const char kSep = '\\';
#else
const char kSep = '/';
#endif

json::TJSONArray printers(const std::string& text) { return json::TJSONArray(text); }

class QueueFile : public ::testing::Test {
 protected:
  void writeQueue(const std::string& bytes) {
    platform::writeFileReplacing(dir.file("fila"), bytes);
  }
  Lines listing(const std::string& table) {
    return service::queueView(dir.path(), printers(table));
  }
  TempDir dir;
};

}  // namespace

TEST(ServiceStateCaption, OnlineOnlyWhenTheServiceSaysSuccessTrue) {
  struct Case {
    std::string reply;
    std::string caption;
  };
  const Case cases[] = {
      {"{\"success\":true}", "Log do servidor (Online)"},
      {"{\"success\":\"true\"}", "Log do servidor (Online)"},  // the text true reads as true
      {"{\"success\":false}", "Log do servidor (Offline)"},
      {"{\"ok\":true}", "Log do servidor (Offline)"},
      {"{\"success\":1}", "Log do servidor (Offline)"},
      {"<html>service</html>", "Log do servidor (Offline)"},
      {"", "Log do servidor (Offline)"},
  };
  for (const Case& c : cases) {
    net_test::ScriptedHttp http;
    http.answer(kStatus, c.reply);
    EXPECT_EQ(service::serviceStateCaption(http), c.caption) << c.reply;
    EXPECT_EQ(http.calls, Lines({"text " + kStatus, "disconnect"})) << c.reply;
  }
}

TEST(ServiceStateCaption, AFailedRequestIsOfflineAndStillDisconnects) {
  net_test::ScriptedHttp http;
  http.fail(kStatus, [] { throw quelta::Error("EIdSocketError", "Connection refused"); });
  EXPECT_EQ(service::serviceStateCaption(http), "Log do servidor (Offline)");
  EXPECT_EQ(http.calls, Lines({"text " + kStatus, "disconnect"}));
}

TEST(LogViewText, EveryKindOfLineEndBecomesCrLfAndANulABlank) {
  struct Case {
    std::string file, shown;
  };
  const Case cases[] = {
      {"", ""},
      {"a", "a"},
      {"a\r\nb\r\n", "a\r\nb"},
      {"a\rb\nc\r\nd", "a\r\nb\r\nc\r\nd"},
      {"a\n\r", "a\r\n"},  // LF then a lone CR: one empty line more
      {"\r\n\r\nx\r\n", "\r\n\r\nx"},
      {"caf\xe9\n", "caf\xe9"},
      {std::string("10:00 : a\0b\r\n\0", 14), "10:00 : a b\r\n "},
      {std::string("x\0\ny", 4), "x \r\ny"},
  };
  for (const Case& c : cases) EXPECT_EQ(service::logViewText(c.file), c.shown) << c.file;
}

TEST(DayLog, ReadsTheFileOfTheGivenDayAndNothingWithoutIt) {
  TempDir dir;
  platform::LocalDateTime day{2026, 3, 7, 23, 59, 59};
  EXPECT_EQ(service::readDayLogView(dir.path(), day), std::nullopt);

  platform::createDirectory(dir.file("log"));
  const std::string path = dir.file("log") + kSep + "2026-03-07.txt";
  EXPECT_EQ(service::dayLogPath(dir.path(), day), path);
  platform::writeFileReplacing(
      path, "10:00:00 : Servico iniciado\r\n10:00:05 : Teste Impresso Config: Caixa\r\n");
  EXPECT_EQ(service::readDayLogView(dir.path(), day),
            "10:00:00 : Servico iniciado\r\n10:00:05 : Teste Impresso Config: Caixa");
  // Just after midnight the new day has no file yet.
  EXPECT_EQ(service::readDayLogView(dir.path(), {2026, 3, 8, 0, 0, 1}), std::nullopt);

  // Beyond the limit only the end shows, from the first whole line in it.
  platform::writeFileReplacing(path, "line one\r\nline two\nline three\r\n");
  struct Case {
    size_t limit;
    std::string shown;
  };
  const std::string lastTwo = "line two\r\nline three";
  for (const Case& c :
       {Case{31, "line one\r\n" + lastTwo}, Case{30, lastTwo}, Case{22, lastTwo}, Case{21, lastTwo},
        Case{20, "line three"}, Case{12, "line three"}, Case{11, ""}}) {
    EXPECT_EQ(service::readDayLogView(dir.path(), day, c.limit), c.shown) << c.limit;
  }
}

TEST_F(QueueFile, NoFileIsAnEmptyQueueNotAnError) {
  EXPECT_EQ(listing("[{\"name\":\"Cozinha\"}]"), Lines{});
}

TEST_F(QueueFile, JobsAreListedPerPrinterInTableOrder) {
  // The queue file names the printers in another order, in other letter
  // case, with a printer that is not in the table and one with no jobs;
  // only the first line of the file counts.
  writeQueue(
      "{\"BAR\":{\"fila\":[[{\"text\":\"Mesa: 3\",\"tipo\":1},{\"text\":\"1 Chopp\"}]]},"
      "\"Terraco\":{\"fila\":[[{\"text\":\"lost\"}]]},"
      "\"Caixa\":{\"fila\":[]},"
      "\"cozinha\":{\"fila\":[[{\"text\":\"Mesa: 1\"},{\"text\":\"2 Feijoada\"}],"
      "[{\"text\":\"Mesa: 2\"}]]}}\r\n"
      "{\"Bar\":{\"fila\":[[{\"text\":\"second line\"}]]}}\r\n");
  Lines expected = {
      "Fila para: Cozinha", "Mesa: 1", "2 Feijoada", kSeparator, "", "Mesa: 2", kSeparator, "",
      "Fila para: Bar",     "Mesa: 3", "1 Chopp",    kSeparator, ""};
  EXPECT_EQ(listing("[{\"name\":\"Cozinha\"},{\"name\":\"Caixa\"},{\"name\":\"Bar\"}]"), expected);
}

TEST_F(QueueFile, ErrorsReplaceTheWholeListingWithOneLine) {
  const std::string table = "[{\"name\":\"Cozinha\"},{\"name\":\"Bar\"}]";

  writeQueue("\r\n{\"Cozinha\":{\"fila\":[]}}");
  Lines shown = listing(table);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].rfind("Erro ao ler log: ParseException - A TJSONObject must begin with", 0),
            0u)
      << shown[0];

  // The second printer's job has a line without "text": what the first
  // printer listed is dropped.
  writeQueue(
      "{\"Cozinha\":{\"fila\":[[{\"text\":\"Mesa: 1\"}]]},"
      "\"Bar\":{\"fila\":[[{\"texto\":\"x\"}]]}}");
  shown = listing(table);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].rfind("Erro ao ler log: NoSuchElementException - TJSONObject[", 0), 0u)
      << shown[0];
  EXPECT_EQ(shown[0].substr(shown[0].size() - 12), "] not found.") << shown[0];

  // A printer of the table without a name.
  writeQueue("{\"Cozinha\":{\"fila\":[[{\"text\":\"Mesa: 1\"}]]}}");
  shown = listing("[{\"name\":\"Cozinha\"},{\"tipo\":\"Outro\"}]");
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].rfind("Erro ao ler log: NoSuchElementException - ", 0), 0u) << shown[0];

  // A printer entry without "fila", and a job that is not an array.
  for (const char* bad :
       {"{\"Cozinha\":{\"jobs\":[]}}", "{\"Cozinha\":{\"fila\":[\"Mesa\"]}}", "{\"Cozinha\":[]}"}) {
    writeQueue(bad);
    shown = listing(table);
    ASSERT_EQ(shown.size(), 1u) << bad;
    EXPECT_EQ(shown[0].rfind("Erro ao ler log: ", 0), 0u) << shown[0];
    EXPECT_NE(shown[0].find(" - "), std::string::npos) << shown[0];
  }
}

TEST(ReadErrorLine, ClassNameAndMessage) {
  EXPECT_EQ(service::readErrorLine(quelta::IOError("Cannot open file \"x\". Access denied")),
            "Erro ao ler log: EInOutError - Cannot open file \"x\". Access denied");
  EXPECT_EQ(service::readErrorLine(std::bad_alloc()),
            "Erro ao ler log: EOutOfMemory - Out of memory");
}
