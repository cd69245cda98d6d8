#include "engine/file_opener.h"

#include <gtest/gtest.h>

#include "data_test_support.h"
#include "pakbuild/package_writer.h"
#include "platform/file_names.h"

using namespace data_test;

namespace {

struct RawEntry {
    std::string name;
    uint32_t offset;
    uint32_t size;
    int declared_length = -1;  // -1: the name's own length
};

void Put(std::string& out, uint32_t v, int bytes, uint8_t key) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>(((v >> (8 * i)) & 0xFF) ^ key));
}

// A package written byte by byte, so that broken tables can be made.
std::string RawPackage(uint16_t version, uint32_t count, const std::vector<RawEntry>& entries,
                       const std::string& contents = "") {
    std::string out;
    Put(out, version, 2, 0);
    Put(out, count, 4, 0);
    for (const RawEntry& e : entries) {
        Put(out, e.declared_length < 0 ? static_cast<uint32_t>(e.name.size()) : static_cast<uint32_t>(e.declared_length),
            2, 0);
        for (char c : e.name) out.push_back(static_cast<char>(c ^ 0xB5));
        Put(out, e.offset, 4, 0xB5);
        Put(out, e.size, 4, 0xB5);
    }
    return out + contents;
}

uint32_t TableSize(const std::vector<std::string>& names) {
    uint32_t size = 6;
    for (const auto& n : names) size += static_cast<uint32_t>(2 + n.size() + 8);
    return size;
}

std::string Read(CFileOpener& opener, const std::string& name) {
    std::vector<uint8_t> buffer;
    if (!opener.ReadFile(name.c_str(), buffer)) return "<none>";
    return Text(buffer);
}

class FileOpenerTest : public ScratchTest {};

TEST_F(FileOpenerTest, PackageFindsAnySpellingOfItsNames) {
    CPackageWriter writer;
    ASSERT_TRUE(writer.AddFile("Settings/Samples.xml", Bytes("from package")));
    ASSERT_TRUE(writer.Write("Data.pak", nullptr));
    WriteBytes("Settings/Samples.xml", "from disk");
    WriteBytes("Bases/common.xml", "common on disk");

    CFileOpener opener("Data.pak");
    ASSERT_TRUE(opener.IsPackageUsable());
    for (const char* name : {"Settings/Samples.xml", "SETTINGS\\Samples.xml", "Settings\\\\Samples.xml",
                             "settings\\samples.xml"})
        EXPECT_EQ(Read(opener, name), "from package") << name;
    // Absent from the package: the disk, resolved with slashes and without regard to case.
    EXPECT_EQ(Read(opener, "bases\\Common.xml"), "common on disk");
    EXPECT_EQ(Read(opener, "BASES/COMMON.XML"), "common on disk");
    EXPECT_EQ(Read(opener, "Settings\\Missing.xml"), "<none>");
    EXPECT_EQ(Read(opener, ""), "<none>");
}

TEST_F(FileOpenerTest, WithoutPackageEverythingComesFromDisk) {
    WriteBytes("Settings/Samples.xml", "from disk");
    CFileOpener opener("Data.pak");
    EXPECT_FALSE(opener.IsPackageUsable());
    EXPECT_EQ(Read(opener, "Settings\\Samples.xml"), "from disk");
    EXPECT_EQ(NewLog(), "") << "a missing package is silent";
}

TEST_F(FileOpenerTest, StoredNamesAreNotNormalisedAndFirstDuplicateWins) {
    std::vector<std::string> names = {"settings\\a.xml", "Settings\\B.xml", "settings/c.xml", "settings\\a.xml"};
    uint32_t base = TableSize(names);
    std::string pak = RawPackage(1, 4,
                                 {{names[0], base, 3}, {names[1], base + 3, 3}, {names[2], base + 6, 3},
                                  {names[3], base + 9, 3}},
                                 "AAABBBCCCDDD");
    WriteBytes("Data.pak", pak);
    CFileOpener opener("Data.pak");
    ASSERT_TRUE(opener.IsPackageUsable());
    EXPECT_EQ(Read(opener, "Settings/A.xml"), "AAA");
    EXPECT_EQ(Read(opener, "settings\\b.xml"), "<none>");
    EXPECT_EQ(Read(opener, "settings\\c.xml"), "<none>");
}

TEST_F(FileOpenerTest, NameLengthLimit) {
    std::string longest = "d\\" + std::string(257, 'x');  // 259 bytes
    uint32_t base = TableSize({longest});
    WriteBytes("Data.pak", RawPackage(1, 1, {{longest, base, 2}}, "ok"));
    CFileOpener accepted("Data.pak");
    EXPECT_TRUE(accepted.IsPackageUsable());
    EXPECT_EQ(Read(accepted, longest), "ok");
}

// Every broken table makes the whole package unusable with one error line, and
// the files then come from disk.
TEST_F(FileOpenerTest, DamagedPackagesAreRefused) {
    const std::string name = "settings\\samples.xml";
    const uint32_t base = TableSize({name, name});
    const std::string too_long(260, 'n');
    struct Case {
        const char* what;
        std::string package;
        const char* log;
    } cases[] = {
        {"version 2", RawPackage(2, 1, {{name, TableSize({name}), 3}}, "pak"),
         "Error: Invalid file package version 2! Current version is 1"},
        {"name of 260 bytes", RawPackage(1, 2, {{"a", base, 1}, {too_long, base, 1}}, "p"),
         "Error: Reading package. File name 1 is too long."},
        {"table shorter than its count", RawPackage(1, 3, {{"a", 6, 1}, {"b", 6, 1}}, std::string(9, '\0')),
         "Error: Reading package. The table ends inside entry 2."},
        {"entry outside the package", RawPackage(1, 1, {{name, TableSize({name}), 100}}, "pak"),
         "Error: Reading package. File 0 lies outside the package."},
        {"absurd count", RawPackage(1, 0xFFFFFFFFu, {{name, TableSize({name}), 3}}, "pak"),
         "Error: Reading package. Entry count 4294967295 does not fit the package."},
        {"shorter than the header", std::string("\x01\x00\x01", 3),
         "Error: Reading package. The package is shorter than its header."},
        {"name cut by the end of file", RawPackage(1, 1, {}) + std::string("\xC8\x00", 2) + std::string(20, 'n'),
         "Error: Reading package. The table ends inside entry 0."},
    };
    WriteBytes("Settings/Samples.xml", "from disk");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteBytes("Data.pak", c.package);
        size_t mark = ReadLog().size();
        CFileOpener opener("Data.pak");
        EXPECT_FALSE(opener.IsPackageUsable());
        EXPECT_NE(ReadLog().substr(mark).find(c.log), std::string::npos) << ReadLog().substr(mark);
        EXPECT_EQ(Read(opener, "Settings\\Samples.xml"), "from disk");
    }
}

TEST_F(FileOpenerTest, ShortOrEmptyPackageReadsFallBackToDisk) {
    CPackageWriter writer;
    writer.AddFile("a.txt", Bytes("package a"));
    writer.AddFile("empty.txt", {});
    writer.AddFile("z.txt", Bytes("package z, the last contents"));
    ASSERT_TRUE(writer.Write("Data.pak", nullptr));
    WriteBytes("z.txt", "disk z");
    WriteBytes("empty.txt", "disk empty");
    CFileOpener opener("Data.pak");
    ASSERT_TRUE(opener.IsPackageUsable());
    EXPECT_EQ(Read(opener, "a.txt"), "package a");
    EXPECT_EQ(Read(opener, "empty.txt"), "disk empty") << "an empty entry reads from disk";
    // The package loses its tail after it was opened: the read comes up short.
    fs::resize_file("Data.pak", fs::file_size("Data.pak") - 5);
    EXPECT_EQ(Read(opener, "z.txt"), "disk z");
    EXPECT_EQ(Read(opener, "a.txt"), "package a");
}

TEST_F(FileOpenerTest, EmptyDiskFileIsAFailureWithALogLine) {
    WriteBytes("Settings/Empty.xml", "");
    CFileOpener opener("Data.pak");
    EXPECT_EQ(Read(opener, "settings\\empty.xml"), "<none>");
    EXPECT_NE(NewLog().find("Error: failed to read file settings\\empty.xml!"), std::string::npos);
    fs::create_directories("Folder");
    EXPECT_EQ(Read(opener, "folder"), "<none>") << "a folder is not a file";
}

TEST_F(FileOpenerTest, NormalizeFileNameAndFileExists) {
    struct {
        const char* in;
        const char* out;
    } names[] = {{"Settings\\Samples.XML", "settings\\samples.xml"},
                 {"a\\\\b\\\\\\c", "a\\b\\c"},
                 {"Textures/Ball.TGA", "textures/ball.tga"},
                 {"\xC4Z", "\xC4z"}};
    for (const auto& n : names) {
        std::string s = n.in;
        CFileOpener::NormalizeFileName(s);
        EXPECT_EQ(s, n.out);
    }
    WriteBytes("Settings/Config.xml", "x");
    EXPECT_TRUE(CFileOpener::FileExists("Settings/Config.xml"));
    EXPECT_TRUE(CFileOpener::FileExists("settings\\CONFIG.xml"));
    EXPECT_FALSE(CFileOpener::FileExists("Settings"));
    EXPECT_FALSE(CFileOpener::FileExists("Settings\\Other.xml"));
    EXPECT_FALSE(CFileOpener::FileExists(""));
}

TEST_F(FileOpenerTest, FileNameLayer) {
    WriteBytes("Textures/Plume/Effects.plume", "x");
    EXPECT_EQ(plat::ToNativeSeparators("Textures\\\\Plume\\Effects.plume"), "Textures/Plume/Effects.plume");
    EXPECT_EQ(plat::ResolveFileName("textures\\plume\\effects.PLUME"), "Textures/Plume/Effects.plume");
    EXPECT_EQ(plat::ResolveFileName((dir_ / "TEXTURES/plume").string()), (dir_ / "Textures/Plume").string());
    EXPECT_EQ(plat::ResolveFileName("Textures\\Missing\\x"), "");
    EXPECT_EQ(plat::ResolveFileNameForWrite("textures\\PLUME\\New.xml"), "Textures/Plume/New.xml");
    EXPECT_EQ(plat::ResolveFileNameForWrite("textures\\plume\\EFFECTS.plume"), "Textures/Plume/Effects.plume");
    EXPECT_EQ(plat::ResolveFileNameForWrite("nowhere\\New.xml"), "");
}

TEST_F(FileOpenerTest, PackerStoresNormalisedNamesOfATree) {
    WriteBytes("tree/Settings/Samples.xml", "<Samples/>");
    WriteBytes("tree/Textures/Ball.tga", "tga");
    WriteBytes("tree/Data.pak", "old package");
    CPackageWriter writer;
    std::string error;
    ASSERT_TRUE(writer.AddFolder("tree", {".XML"}, &error)) << error;
    EXPECT_EQ(writer.Count(), 1u);
    ASSERT_TRUE(writer.AddFolder("tree", {}, &error) == false) << "the XML file is already there";
    EXPECT_EQ(writer.Count(), 2u);
    ASSERT_TRUE(writer.Write("Data.pak", &error)) << error;
    EXPECT_EQ(CPackageWriter::StoredName("/Settings//X.xml"), "settings\\x.xml");
    EXPECT_FALSE(writer.AddFile(std::string(260, 'a'), {}));

    // The stored table, read back byte by byte.
    std::string pak = ReadBytes("Data.pak");
    const std::string first = "settings\\samples.xml";
    ASSERT_GT(pak.size(), 8 + first.size());
    EXPECT_EQ(pak.substr(0, 6), std::string("\x01\x00\x02\x00\x00\x00", 6));
    EXPECT_EQ(static_cast<uint8_t>(pak[6]), first.size());
    std::string name;
    for (size_t i = 0; i < first.size(); ++i) name.push_back(static_cast<char>(pak[8 + i] ^ 0xB5));
    EXPECT_EQ(name, first);
    fs::remove_all("tree");
    CFileOpener opener("Data.pak");
    EXPECT_EQ(Read(opener, "Textures\\Ball.tga"), "tga");
    EXPECT_EQ(Read(opener, "Settings\\Samples.xml"), "<Samples/>");
}

}  // namespace
