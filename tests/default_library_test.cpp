#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "model/CKpLineStyleLib.h"
#include "module/KpModulePath.h"

namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kGrey = RGB(200, 200, 200);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

std::vector<long> Pattern(const CKpLineStyleBase& s) {
  std::vector<long> out;
  for (long i = 0; i < s.Count(); ++i) out.push_back(s.GetAt(i));
  return out;
}

// Every test gets a fresh, empty folder of its own as the module folder, so
// that no Line.lsl lying beside the test executable can change the outcome.
class DefaultLibraryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = ::testing::TempDir() + "kp_default_XXXXXX";
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    m_folder = pattern + "/";
    kp::SetModuleFolderForTesting(m_folder);
  }
  void TearDown() override {
    kp::SetModuleFolderForTesting("");
    std::error_code ignored;
    std::filesystem::remove_all(m_folder, ignored);
  }

  std::string LinePath() const { return m_folder + "Line.lsl"; }

  void WriteLineFile(const std::vector<char>& bytes) const {
    std::ofstream out(LinePath(), std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }

  // A library of two styles that cannot be mistaken for the built-in one.
  static void FillOther(CKpLineStyleLib& lib) {
    lib.SetName("mine");
    for (long id : {500, 9}) {
      CKpLineStyleObj style;
      style.SetID(id);
      style.SetName("own " + std::to_string(id));
      CKpLineStyleBase s;
      s.SetInterStyle(4, static_cast<long>(kBlue), 0);
      s.Add(7, 3);
      style.AddStyleBase(s);
      lib.AddStyleObj(style);
    }
  }

  std::string m_folder;
};

using DefaultLibrary = DefaultLibraryTest;

TEST_F(DefaultLibrary, BuildsThirtyEightStylesNumberedFromSix) {
  CKpLineStyleLib lib;
  EXPECT_EQ(lib.CreateDefault(), 38);
  ASSERT_EQ(lib.Count(), 38);
  for (long i = 0; i < lib.Count(); ++i) {
    EXPECT_EQ(lib.GetStyleObj(i).GetID(), 6 + i) << "index " << i;
    EXPECT_EQ(lib.GetStyleObj(i).GetName(), std::to_string(6 + i)) << "index " << i;
  }
  EXPECT_EQ(lib.FindID(6), 0);
  EXPECT_EQ(lib.FindID(43), 37);
  EXPECT_EQ(lib.FindID(5), -1);
  EXPECT_EQ(lib.FindID(44), -1);
  EXPECT_EQ(lib.GetLeagalID(), 43);  // the next new style gets 44
  EXPECT_TRUE(lib.IsModified());
}

TEST_F(DefaultLibrary, SelectedSubLinesFieldByField) {
  CKpLineStyleLib lib;
  ASSERT_EQ(lib.CreateDefault(), 38);
  struct Row {
    long id;
    long subLines;  // of the style
    long index;     // sub-line checked
    short width;
    COLORREF color;
    short kind;
    short length;
    std::vector<long> pattern;
    short repeatMode;
  };
  const Row rows[] = {
      // the plain solid line
      {6, 1, 0, 1, kBlack, 0, 0, {}, 0},
      // a three-entry-pair dash pattern kept in order
      {13, 1, 0, 3, kBlack, 0, 0, {90, 15, 15, 15, 15, 15}, 0},
      // light grey, the first colour other than black
      {15, 1, 0, 8, kGrey, 0, 0, {100, 18, 12, 18}, 0},
      // white dashed core drawn over a grey casing
      {16, 2, 1, 9, kWhite, 0, 0, {90, 90}, 0},
      // centred ticks of length 9 on the second sub-line
      {20, 2, 1, 1, kBlack, 1, 9, {18, 18}, 0},
      // a single-sub-line decoration style (wave)
      {28, 1, 0, 3, kBlack, 14, 9, {30, 30}, 0},
      // three sub-lines; the last is the plain dash-dot
      {32, 3, 2, 1, kBlack, 0, 0, {120, 20, 60, 20}, 0},
      // a zero-length gap entry survives
      {34, 2, 0, 1, kBlack, 0, 0, {80, 40, 20, 0}, 0},
      // red parallel double line, repeat mode 1, no pattern
      {37, 1, 0, 1, kRed, 43, 10, {}, 1},
      // electric line with middle line
      {38, 1, 0, 1, kBlack, 40, 16, {60, 45}, 1},
      // blue electric style, first layer
      {39, 2, 0, 1, kBlue, 40, 16, {60, 45}, 1},
      // blue electric style, second layer
      {39, 2, 1, 1, kBlue, 39, 16, {70, 45}, 1},
      // plain base line under the electric layer keeps repeat mode 0
      {40, 2, 0, 1, kBlack, 0, 0, {}, 0},
      // electric line, second form
      {40, 2, 1, 1, kBlack, 42, 11, {60, 45}, 1},
      // the arrow styles are one plain solid sub-line
      {41, 1, 0, 1, kBlack, 0, 0, {}, 0},
      {42, 1, 0, 1, kBlack, 0, 0, {}, 0},
      // gradient line, repeat mode 1, no pattern
      {43, 1, 0, 1, kBlack, 46, 8, {}, 1},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE("style " + std::to_string(r.id) + " sub-line " + std::to_string(r.index));
    const CKpLineStyleObj* style = lib.SetStyleByID(r.id);
    ASSERT_NE(style, nullptr);
    ASSERT_EQ(style->Count(), r.subLines);
    const CKpLineStyleBase& s = *style->GetElementAt(static_cast<int>(r.index));
    EXPECT_EQ(s.m_nWidth, r.width);
    EXPECT_EQ(s.m_clrColor, r.color);
    EXPECT_EQ(s.m_nHVMode, r.kind);
    EXPECT_EQ(s.m_nHVLength, r.length);
    EXPECT_EQ(Pattern(s), r.pattern);
    EXPECT_EQ(s.m_nRepeatMode, r.repeatMode);
  }
}

TEST_F(DefaultLibrary, EverySubLineHasTheCommonValues) {
  CKpLineStyleLib lib;
  ASSERT_EQ(lib.CreateDefault(), 38);
  for (long i = 0; i < lib.Count(); ++i) {
    const CKpLineStyleObj& style = lib.GetStyleObj(i);
    for (int k = 0; k < style.Count(); ++k) {
      SCOPED_TRACE("style " + style.GetName() + " sub-line " + std::to_string(k));
      const CKpLineStyleBase& s = *style.GetElementAt(k);
      EXPECT_EQ(s.m_clrCurrent, s.m_clrColor);
      EXPECT_EQ(s.m_nCurWidth, s.m_nWidth);
      EXPECT_EQ(s.m_nHorizOffset, 0);
      EXPECT_EQ(s.m_nVertOffset, 0);
      EXPECT_EQ(s.m_nHatch, 0);
      EXPECT_EQ(s.m_nWidthType, KP_WIDTH_STYLE);  // so InitStyleGroup changes no width
      EXPECT_EQ(s.m_nVarWidth, 100);
      EXPECT_EQ(s.GetBase(), 0);
      EXPECT_EQ(s.GetCap(), 0);
      EXPECT_EQ(s.GetJoin(), 0);
      EXPECT_EQ(s.GetUserStyle(), s.Count() > 0 ? 1 : 0);
      EXPECT_EQ(s.GetFont(), "");
      EXPECT_EQ(s.m_nSymbol, 0);
      EXPECT_EQ(s.m_nAngle, 0);
      EXPECT_EQ(s.Count() % 2, 0);
      for (long e = 0; e < s.Count(); ++e) EXPECT_EQ(s.GetFlagAt(e), e % 2 == 0 ? 1 : 0) << "entry " << e;
      EXPECT_FALSE(s.GetColorLock());
      EXPECT_FALSE(s.GetVertRepair());
    }
  }
}

TEST_F(DefaultLibrary, RepairAndWidthLockFollowTheStyleID) {
  CKpLineStyleLib lib;
  ASSERT_EQ(lib.CreateDefault(), 38);
  struct Row {
    long id;
    BOOL horizRepair;
    BOOL widthLock;
  };
  const Row rows[] = {
      {6, FALSE, FALSE},  // the first style alone has no repair
      {7, TRUE, FALSE},   // every later style has it
      {13, TRUE, FALSE},  // just below the locked range
      {14, TRUE, TRUE},   // first width-locked style
      {16, TRUE, TRUE},   // both sub-lines of a two-layer locked style
      {18, TRUE, TRUE},   // last width-locked style
      {19, TRUE, FALSE},  // just above the locked range
      {32, TRUE, FALSE},  // all three sub-lines
      {43, TRUE, FALSE},  // last style
  };
  for (const Row& r : rows) {
    SCOPED_TRACE("style " + std::to_string(r.id));
    CKpLineStyleObj* style = lib.SetStyleByID(r.id);
    ASSERT_NE(style, nullptr);
    for (int k = 0; k < style->Count(); ++k) {
      EXPECT_EQ(style->GetElementAt(k)->GetHorizRepair(), r.horizRepair) << "sub-line " << k;
      EXPECT_EQ(style->GetElementAt(k)->GetWidthLock(), r.widthLock) << "sub-line " << k;
    }
  }
}

TEST_F(DefaultLibrary, ExtendedAttributesOfTheLastStyles) {
  CKpLineStyleLib lib;
  ASSERT_EQ(lib.CreateDefault(), 38);
  struct Ext {
    long pos;
    std::int32_t shape;
    int width;
    int height;
  };
  struct Row {
    long id;
    unsigned token;
    std::vector<Ext> records;
  };
  const std::vector<Ext> nodes = {{0, 6, 0, 0}, {1, 6, 0, 0}, {2, 6, 0, 0}};
  const Row rows[] = {
      {36, 0x00, {}},     // an ordinary style has none
      {37, 0x00, {}},     // the parallel line has none
      {38, 0x07, nodes},  // hollow ellipses at start, end and vertices
      {39, 0x07, nodes},  // as 38
      {40, 0x07, nodes},  // as 38
      {41, 0x10, {{4, 1, 20, 20}}},  // arrowhead 1 at the middle of the polyline
      {42, 0x02, {{1, 3, 20, 20}}},  // arrowhead 3 at the end
      {43, 0x00, {}},     // the gradient line has none
  };
  for (const Row& r : rows) {
    SCOPED_TRACE("style " + std::to_string(r.id));
    CKpLineStyleObj* style = lib.SetStyleByID(r.id);
    ASSERT_NE(style, nullptr);
    const CKpLineStyleObjExt& ext = style->GetObjExt();
    EXPECT_EQ(ext.GetObjExtToken(), r.token);
    EXPECT_EQ(ext.GetCount(), static_cast<int>(r.records.size()));
    for (const Ext& e : r.records) {
      const tagLineStyleObjExt* rec = ext.GetObjExt(e.pos);
      ASSERT_NE(rec, nullptr) << "position " << e.pos;
      EXPECT_EQ(rec->nShape, e.shape);
      EXPECT_EQ(rec->byWidth, e.width);
      EXPECT_EQ(rec->byHeight, e.height);
      EXPECT_EQ(rec->nAngle, 0);
    }
  }
}

TEST_F(DefaultLibrary, RootGroupListsAllStylesInOrder) {
  CKpLineStyleLib lib;
  ASSERT_EQ(lib.CreateDefault(), 38);
  const CKpLineStyleGroup* root = lib.GetRootGroup();
  EXPECT_EQ(root->GetName(), "RootGroup");
  EXPECT_EQ(root->GetSubGroupCount(), 0);
  ASSERT_EQ(root->GetItemCount(), 38);
  for (long i = 0; i < 38; ++i) EXPECT_EQ(root->GetItemID(i), 6 + i);
}

TEST_F(DefaultLibrary, ReplacesPreviousContentAndSetsModified) {
  CKpLineStyleLib lib;
  FillOther(lib);
  lib.GetRootGroup()->CreateSubGroup("old")->AddStyleItem(500);
  lib.SetModifiedFlag(FALSE);
  ASSERT_EQ(lib.CreateDefault(), 38);
  EXPECT_EQ(lib.Count(), 38);
  EXPECT_EQ(lib.FindID(500), -1);
  EXPECT_EQ(lib.GetRootGroup()->GetSubGroupCount(), 0);
  EXPECT_EQ(lib.GetRootGroup()->GetItemCount(), 38);
  EXPECT_TRUE(lib.IsModified());
  // A second call gives the same library, not 76 styles.
  ASSERT_EQ(lib.CreateDefault(), 38);
  EXPECT_EQ(lib.Count(), 38);
  EXPECT_EQ(lib.GetRootGroup()->GetItemCount(), 38);
}

TEST_F(DefaultLibrary, LineFileBesideTheModuleWins) {
  CKpLineStyleLib other;
  FillOther(other);
  ASSERT_EQ(other.SaveToFile(LinePath()), 1);

  CKpLineStyleLib lib;
  lib.SetModifiedFlag(FALSE);
  EXPECT_EQ(lib.CreateDefault(), 1);
  EXPECT_EQ(lib.GetName(), "mine");
  ASSERT_EQ(lib.Count(), 2);
  EXPECT_EQ(lib.GetStyleObj(0).GetID(), 500);
  EXPECT_EQ(lib.GetStyleObj(0).GetName(), "own 500");
  EXPECT_EQ(lib.GetStyleObj(1).GetID(), 9);
  const CKpLineStyleBase& s = *lib.GetStyleObj(1).GetElementAt(0);
  EXPECT_EQ(s.m_nWidth, 4);
  EXPECT_EQ(s.m_clrColor, kBlue);
  EXPECT_EQ(Pattern(s), (std::vector<long>{7, 3}));
  EXPECT_TRUE(lib.IsModified());
}

TEST_F(DefaultLibrary, BadLineFileFallsBackToBuiltIn) {
  struct Row {
    const char* what;
    std::vector<char> bytes;  // content of Line.lsl
    bool asFolder;            // Line.lsl is a folder, which cannot be read
  };
  const std::vector<char> magic = {'\x98', '\xD1', '\xC9', '\x0F'};
  std::vector<char> unknownVersion = magic;
  for (char c : {'\x01', '\x02', '\x03', '\x04', '\0', '\0', '\0', '\0'}) unknownVersion.push_back(c);
  const Row rows[] = {
      {"empty file", {}, false},
      {"text, not a library", {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', '\n'}, false},
      {"magic alone, shorter than a head", magic, false},
      {"magic and a version word of no known format", unknownVersion, false},
      {"a folder named Line.lsl", {}, true},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    std::error_code ignored;
    std::filesystem::remove_all(LinePath(), ignored);
    if (r.asFolder)
      ASSERT_TRUE(std::filesystem::create_directory(LinePath()));
    else
      WriteLineFile(r.bytes);

    CKpLineStyleLib lib;
    FillOther(lib);
    lib.SetModifiedFlag(FALSE);
    EXPECT_EQ(lib.CreateDefault(), 38);
    EXPECT_EQ(lib.Count(), 38);
    EXPECT_EQ(lib.GetIDAt(0), 6);
    EXPECT_EQ(lib.GetIDAt(37), 43);
    EXPECT_EQ(lib.GetRootGroup()->GetItemCount(), 38);
    EXPECT_TRUE(lib.IsModified());
  }
}

TEST_F(DefaultLibrary, TruncatedLineFileFallsBackToBuiltIn) {
  CKpLineStyleLib other;
  FillOther(other);
  ASSERT_EQ(other.SaveToFile(LinePath()), 1);
  std::filesystem::resize_file(LinePath(), std::filesystem::file_size(LinePath()) - 6);

  CKpLineStyleLib lib;
  EXPECT_EQ(lib.CreateDefault(), 38);
  EXPECT_EQ(lib.FindID(500), -1);
}

TEST_F(DefaultLibrary, SeedLineIsOneBlackSolidLine) {
  CKpLineStyleLib lib;
  ASSERT_EQ(lib.CreateDefault(), 38);
  lib.SetModifiedFlag(FALSE);

  const CKpLineStyleObj seed = lib.CreateSeedLine();
  EXPECT_EQ(seed.GetID(), 0);
  EXPECT_EQ(seed.GetName(), "NoName");
  EXPECT_EQ(seed.GetObjExt().GetObjExtToken(), 0);
  ASSERT_EQ(seed.Count(), 1);
  const CKpLineStyleBase& s = *seed.GetElementAt(0);
  EXPECT_EQ(s.m_nWidth, 1);
  EXPECT_EQ(s.m_nCurWidth, 1);
  EXPECT_EQ(s.m_clrColor, kBlack);
  EXPECT_EQ(s.m_clrCurrent, kBlack);
  EXPECT_EQ(s.m_dwPenStyle, 0u);
  EXPECT_EQ(s.Count(), 0);
  EXPECT_EQ(s.m_nHVMode, 0);
  EXPECT_EQ(s.m_dwFlags, 0u);

  EXPECT_EQ(lib.Count(), 38);  // the library's styles are untouched
  EXPECT_EQ(lib.FindID(0), -1);
  EXPECT_TRUE(lib.IsModified());
}

TEST(ModuleFolder, TestHookAndDefaultPath) {
  const std::string real = kp::ModuleFolder();
  struct Row {
    const char* set;
    std::string folder;  // what ModuleFolder() then answers
  };
  const Row rows[] = {
      {"/tmp/a/", "/tmp/a/"},  // taken as it is
      {"/tmp/b", "/tmp/b/"},   // the trailing '/' is added
      {"", real},              // empty goes back to the real folder
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.set);
    kp::SetModuleFolderForTesting(r.set);
    EXPECT_EQ(kp::ModuleFolder(), r.folder);
    EXPECT_EQ(kp::DefaultLibraryPath(), r.folder + "Line.lsl");
  }
}

TEST(ModuleFolder, RealFolderHoldsTheRunningExecutable) {
  kp::SetModuleFolderForTesting("");
  const std::string folder = kp::ModuleFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.front(), '/');
  EXPECT_EQ(folder.back(), '/');
  ASSERT_TRUE(std::filesystem::is_directory(folder));

  // The core is linked statically into the test program, so its file is the
  // executable: some entry of the folder must be that very file.
  struct stat self {};
  ASSERT_EQ(::stat("/proc/self/exe", &self), 0);
  bool found = false;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    struct stat st {};
    if (::stat(entry.path().c_str(), &st) == 0 && st.st_dev == self.st_dev && st.st_ino == self.st_ino)
      found = true;
  }
  EXPECT_TRUE(found);
}

}  // namespace
