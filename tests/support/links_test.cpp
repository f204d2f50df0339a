#include <gtest/gtest.h>

#include "links_fixture.h"
#include "support/busyhook.h"
#include "support/files.h"
#include "support/links.h"

namespace sp {
namespace {

TEST(Links, PlaceholderPaths) {
  TInternalRootClass roots;
  roots.ServerRoot = "/Srv/Docs/";
  roots.InternRoot = "/home/intern/";
  struct Case {
    const char* path;
    int flags;
    int root;
    const char* expected;
  };
  const Case cases[] = {
      {"/srv/docs/Kunde A/x.xls", 0, kServerRoot, "[SERVER]Kunde A/x.xls"},
      {"/srv/docs/Kunde A/x.xls", kLinkForm, kServerRoot, "file://[SERVER]Kunde*A/x.xls"},
      {"/srv/docs/Kunde A/x.xls", kAppendCrLf, kServerRoot, "[SERVER]Kunde A/x.xls\r\n"},
      {"/srv/docs/a b.xls", kLinkForm | kAppendCrLf, kServerRoot, "file://[SERVER]a*b.xls\r\n"},
      {"/srv/docs/x.xls", 0, kInternRoot, "/srv/docs/x.xls"},
      {"/home/intern/x.xls", 0, kInternRoot, "[INTERN]x.xls"},
      {"[INTERN]/srv/docs/x y.xls", 0, kServerRoot, "[INTERN]/srv/docs/x y.xls"},
      {"[INTERN]/srv/docs/x y.xls", kLinkForm, kServerRoot, "file://[INTERN]/srv/docs/x*y.xls"},
      {"[intern]/srv/docs/x.xls", 0, kServerRoot, "[intern][SERVER]x.xls"},  // only the exact case counts
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ToPlaceholderPath(roots, c.path, c.flags, c.root), c.expected) << c.path << " " << c.flags;
  }
  EXPECT_EQ(ToPlaceholderPath(TInternalRootClass{}, "/srv/docs/x.xls", 0, kServerRoot), "/srv/docs/x.xls");
}

TEST(Links, IsUrl) {
  struct Case {
    const char* text;
    bool url;
  };
  const Case cases[] = {
      {"http://x.de", true},      {"HTTPS://x.de", true},      {"ftp://x", true},
      {"Telnet:host", true},      {"gopher:x", true},          {"prospero:x", true},
      {"nntp:x", true},           {"wais:x", true},            {"mailto:a@b.de", true},
      {"news:x", true},           {"WWW.firma.de", true},      {"ftp.firma.de", true},
      {"max@firma.de", true},     {"C:\\Kunden\\a@b.xls", false}, {"/home/a@b/x.xls", false},
      {"/home/user/x.xls", false}, {"", false},                {"htt", false},
      {"xhttp://x", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsUrl(c.text), c.url) << c.text;
}

TEST(Links, FileExtension) {
  EXPECT_EQ(ExtractFileExt("/a/b.c/x.XLS"), ".XLS");
  EXPECT_EQ(ExtractFileExt("/a/b.c/x"), "");
  EXPECT_EQ(ExtractFileExt("x.tar.gz"), ".gz");
}

class RootsFileTest : public TClientRootTest {};

TEST_F(RootsFileTest, MissingRootsFileIsCreatedWithTwoEmptyLines) {
  const std::string file = RootsFile();
  EXPECT_EQ(file, ClientRootFolder() + "Ordavi.Network.Alias.Docs/_InternalRootsSetupFile.TXT");
  EXPECT_FALSE(FileExistsSafe(file));
  TInternalRootClass roots;
  roots.ServerRoot = "stale";
  LoadInternalRoots(roots);
  EXPECT_EQ(roots.ServerRoot, "");
  EXPECT_EQ(roots.InternRoot, "");
  std::vector<std::string> lines;
  LoadStringsRetry(lines, file);
  EXPECT_EQ(lines, (std::vector<std::string>{"", ""}));
}

TEST_F(RootsFileTest, RootsAreReadAndWrittenBackNormalised) {
  struct Case {
    std::vector<std::string> stored;
    const char* server;
    const char* intern;
  };
  const Case cases[] = {
      {{"/srv/docs", "/home/intern/"}, "/srv/docs/", "/home/intern/"},
      {{"/srv/docs"}, "/srv/docs/", ""},
      {{"", "/i", "third line"}, "", "/i/"},
  };
  for (const Case& c : cases) {
    SaveStringsRetry(c.stored, RootsFile());
    TInternalRootClass roots;
    LoadInternalRoots(roots);
    EXPECT_EQ(roots.ServerRoot, c.server);
    EXPECT_EQ(roots.InternRoot, c.intern);
    std::vector<std::string> lines;
    LoadStringsRetry(lines, RootsFile());
    EXPECT_EQ(lines, (std::vector<std::string>{c.server, c.intern}));
  }
}

TEST_F(RootsFileTest, OldFilesAreAdopted) {
  struct Case {
    bool oldThere;
    bool newThere;
    bool overwrite;
    const char* newContent;  // nullptr: no new file afterwards
  };
  const Case cases[] = {
      {true, false, false, "old"}, {true, true, false, "new"}, {true, true, true, "old"},
      {false, true, true, "new"},  {false, false, false, nullptr},
  };
  for (const Case& c : cases) {
    const std::string oldPath = Scratch("program/old.txt");
    const std::string newPath = Scratch("client/new.txt");
    DeleteFileIfExists(oldPath);
    DeleteFileIfExists(newPath);
    if (c.oldThere) MakeFile("program/old.txt", {"old"});
    if (c.newThere) MakeFile("client/new.txt", {"new"});
    AdoptOldFile(oldPath, newPath, c.overwrite);
    EXPECT_FALSE(FileExistsSafe(oldPath));
    std::vector<std::string> lines;
    LoadStringsRetry(lines, newPath);
    if (c.newContent) {
      EXPECT_EQ(lines, std::vector<std::string>{c.newContent});
    } else {
      EXPECT_FALSE(FileExistsSafe(newPath));
    }
  }
}

TEST_F(RootsFileTest, PlaceholderPathReadsTheRootsFile) {
  SaveStringsRetry({Scratch("server"), Scratch("intern")}, RootsFile());
  EXPECT_EQ(ToPlaceholderPath(Scratch("intern/Kunde A/x.xls"), kLinkForm, kInternRoot), "file://[INTERN]Kunde*A/x.xls");
}

class ResolveTest : public TClientRootTest {
 protected:
  void SetUp() override {
    TClientRootTest::SetUp();
    roots_.ServerRoot = Scratch("server/");
    roots_.InternRoot = Scratch("intern/");
    MakeFile("server/Kunde A/both.xls");
    MakeFile("intern/Kunde A/both.xls");
    MakeFile("intern/only intern.xls");
    MakeFile("server/plan.pdf");
    MakeFile("server/noext");
    MakeFile("plain/abs file.xls");
  }
  TInternalRootClass roots_;
};

TEST_F(ResolveTest, ResolvesThroughBothRoots) {
  struct Case {
    std::string link;
    bool mustExist;
    std::string expected;
  };
  const Case cases[] = {
      {"file://[SERVER]Kunde*A/both.xls", true, Scratch("server/Kunde A/both.xls")},
      {"FILE://[server]Kunde*A/both.xls", true, Scratch("server/Kunde A/both.xls")},
      {"[INTERN]Kunde A/both.xls", true, Scratch("intern/Kunde A/both.xls")},
      {"file://[SERVER]only*intern.xls", true, ""},
      {"file://[INTERN]only*intern.xls", true, Scratch("intern/only intern.xls")},
      {"file://" + ReplaceTextAll(Scratch("plain/abs file.xls"), " ", "*"), true, Scratch("plain/abs file.xls")},
      {"file:////Kunde*A/both.xls", true, Scratch("server/Kunde A/both.xls")},
      {"file:////only*intern.xls", true, Scratch("intern/only intern.xls")},
      {"file://[SERVER]missing.xls", true, ""},
      {"http://firma.de/a.xls", true, ""},
      {"http://firma.de/a.xls", false, "http://firma.de/a.xls"},
      {"file://max@firma.de", false, "max@firma.de"},
  };
  for (const Case& c : cases) EXPECT_EQ(ResolveLink(roots_, c.link, c.mustExist), c.expected) << c.link;
}

TEST_F(ResolveTest, EmptyRootResolvesNoPlaceholder) {
  TInternalRootClass noIntern = roots_;
  noIntern.InternRoot.clear();
  EXPECT_EQ(ResolveLink(noIntern, "[INTERN]only intern.xls", true), "");
  EXPECT_EQ(ResolveLink(noIntern, "[SERVER]plan.pdf", true), Scratch("server/plan.pdf"));
}

TEST_F(ResolveTest, ExtractsExistingLinksThatPassTheFilter) {
  const std::string text =
      "Bestellung aus file://[SERVER]Kunde*A/both.xls\r\nPlan: file://[SERVER]plan.pdf und\n"
      "file://[SERVER]fehlt.xls, leer: file:// Ende FILE://[intern]only*intern.xls\r\n"
      "ohne file://[SERVER]noext";
  std::vector<std::string> xls{"kept"};
  ExtractFileLinks(roots_, text, xls, ".XLS");
  EXPECT_EQ(xls, (std::vector<std::string>{"kept", "[SERVER]Kunde A/both.xls", "[intern]only intern.xls"}));

  std::vector<std::string> all;
  ExtractFileLinks(roots_, text, all, "");
  EXPECT_EQ(all, (std::vector<std::string>{"[SERVER]Kunde A/both.xls", "[SERVER]plan.pdf",
                                           "[intern]only intern.xls", "[SERVER]noext"}));

  std::vector<std::string> list;
  ExtractFileLinks(roots_, text, list, "*.pdf; .xlsx");
  EXPECT_EQ(list, std::vector<std::string>{"[SERVER]plan.pdf"});
}

TEST_F(ResolveTest, ExtractionReadsTheRootsFile) {
  SaveStringsRetry({roots_.ServerRoot, roots_.InternRoot}, RootsFile());
  std::vector<std::string> links;
  ExtractFileLinks("x file://[SERVER]plan.pdf", links, ".pdf");
  EXPECT_EQ(links, std::vector<std::string>{"[SERVER]plan.pdf"});
  EXPECT_TRUE(LinkResolves("file://[INTERN]only*intern.xls"));
  EXPECT_FALSE(LinkResolves("file://[SERVER]only*intern.xls"));
}

int busyDepth = 0;
int busyCalls = 0;
void CountBusy(bool busy) {
  busyDepth += busy ? 1 : -1;
  ++busyCalls;
}

TEST_F(ResolveTest, ShowsTheBusyCursorWhileResolving) {
  InstallBusyHook(&CountBusy);
  busyCalls = 0;
  EXPECT_EQ(ResolveLink(roots_, "[SERVER]plan.pdf", true), Scratch("server/plan.pdf"));
  InstallBusyHook(nullptr);
  EXPECT_EQ(busyCalls, 2);
  EXPECT_EQ(busyDepth, 0);
}

}  // namespace
}  // namespace sp
