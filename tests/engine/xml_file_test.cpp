#include "engine/xml_file.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "data_test_support.h"
#include "engine/file_opener.h"
#include "pakbuild/package_writer.h"

using namespace data_test;

namespace {

class XmlTest : public ScratchTest {};

const char* kDoc =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<Root>\n"
    "  <Item a=\"7\" hex=\"0x1F\" mixed=\"12abc\" empty=\"\" word=\"true\" two=\"2\" f=\"1.5\" neg=\"-12\"/>\n"
    "  <Music><File name=\"one.ogg\"/><File name=\"two.ogg\"/></Music>\n"
    "  <Text>hello <b>big</b> world</Text>\n"
    "</Root>\n";

TEST_F(XmlTest, GettersWithDefaults) {
    CXMLFile xml;
    ASSERT_TRUE(xml.Parse(std::string_view(kDoc)));
    CXMLNode item = xml.SelectSingleNode("//Root/Item");
    ASSERT_TRUE(item.IsValid());
    EXPECT_EQ(item.GetAttributeInt("missing", 7), 7);
    EXPECT_EQ(item.GetAttributeInt("hex", 7), 31);
    EXPECT_EQ(item.GetAttributeInt("mixed", 7), 12);
    EXPECT_EQ(item.GetAttributeInt("empty", 7), 0) << "present but empty is 0, not the default";
    EXPECT_EQ(item.GetAttributeInt("neg", 0), -12);
    EXPECT_FALSE(item.GetAttributeBool("word", true));
    EXPECT_TRUE(item.GetAttributeBool("a", false));
    EXPECT_TRUE(item.GetAttributeBool("two", false));
    EXPECT_TRUE(item.GetAttributeBool("hex", false));
    EXPECT_TRUE(item.GetAttributeBool("missing", true));
    EXPECT_FALSE(item.GetAttributeBool("missing", false));
    EXPECT_FLOAT_EQ(item.GetAttributeFloat("f", 0), 1.5f);
    EXPECT_FLOAT_EQ(item.GetAttributeFloat("missing", 0.25f), 0.25f);
    EXPECT_FLOAT_EQ(item.GetAttributeFloat("word", 3), 0.0f);
    EXPECT_EQ(item.GetAttribute("missing", "dflt"), "dflt");
    EXPECT_EQ(item.GetAttribute("empty", "dflt"), "");
    EXPECT_EQ(item.GetName(), "Item");

    // Empty handles never fail.
    CXMLNode none = xml.SelectSingleNode("//Nothing");
    EXPECT_FALSE(none.IsValid());
    EXPECT_FALSE(none.SelectSingleNode("x").IsValid());
    EXPECT_EQ(none.SelectNodes("x").GetLength(), 0);
    EXPECT_EQ(none.GetAttributeInt("a", 5), 5);
    EXPECT_EQ(none.GetValue(), "");
    EXPECT_FALSE(none.SetAttribute("a", "b"));
    EXPECT_EQ(CXMLNodeList().GetLength(), 0);
    EXPECT_FALSE(CXMLNodeList().GetItem(0).IsValid());
    EXPECT_FALSE(xml.SelectSingleNode("//[bad").IsValid());
    EXPECT_NE(NewLog().find("Error: Invalid path expression '//[bad'"), std::string::npos);
}

TEST_F(XmlTest, ListsValuesAndRelativePaths) {
    CXMLFile xml;
    xml.Parse(std::string_view(kDoc));
    CXMLNodeList files = xml.SelectNodes("//Music/File");
    ASSERT_EQ(files.GetLength(), 2);
    EXPECT_EQ(files[0].GetAttribute("name", ""), "one.ogg");
    EXPECT_EQ(files.GetItem(1).GetAttribute("name", ""), "two.ogg");
    EXPECT_FALSE(files.GetItem(2).IsValid());
    EXPECT_FALSE(files.GetItem(-1).IsValid());
    CXMLNode root = xml.SelectSingleNode("Root");
    EXPECT_EQ(root.SelectNodes("*").GetLength(), 3);
    EXPECT_EQ(root.SelectSingleNode("Music/File").GetAttribute("name", ""), "one.ogg");
    EXPECT_EQ(root.SelectSingleNode("Text").GetValue(), "hello big world");
    EXPECT_EQ(xml.SelectSingleNode("//File/@name").GetValue(), "one.ogg");
}

TEST_F(XmlTest, BuildSaveAndLoadBack) {
    std::string saved;
    {
        CXMLFile xml;
        ASSERT_TRUE(xml.CreateRoot("Config"));
        EXPECT_FALSE(xml.CreateRoot("Second")) << "one root per document";
        CXMLNode root = xml.SelectSingleNode("Config");
        ASSERT_TRUE(root.IsValid());
        CXMLNode player = xml.CreateNode("Player");
        ASSERT_TRUE(root.AppendChild(player));
        // Attributes set after the append land in the tree.
        EXPECT_TRUE(player.SetAttributeFloat("speed", 2.5f));
        EXPECT_TRUE(player.SetAttributeInt("score", -25000));
        EXPECT_TRUE(player.SetAttributeBool("on", true));
        EXPECT_TRUE(player.SetAttribute("name", "Ann"));
        EXPECT_TRUE(player.SetAttribute("name", "Bob")) << "replaces";
        EXPECT_FALSE(player.SetAttribute("bad name", "x"));
        CXMLNode child = xml.CreateNode("Level");
        child.SetAttributeInt("n", 3);
        player.AppendChild(child);
        EXPECT_THROW(xml.CreateNode(""), std::runtime_error);
        EXPECT_NE(NewLog().find("Error: Creating node "), std::string::npos);
        ASSERT_TRUE(xml.Save("Config.xml"));
        ASSERT_TRUE(xml.GetXML(saved));
    }
    EXPECT_EQ(saved, "<?xml version=\"1.0\"?><Config><Player speed=\"2.500000\" score=\"-25000\" on=\"1\" name=\"Bob\">"
                     "<Level n=\"3\"/></Player></Config>");
    CXMLFile loaded("config.XML");
    CXMLNode player = loaded.SelectSingleNode("//Config/Player");
    EXPECT_FLOAT_EQ(player.GetAttributeFloat("speed", 0), 2.5f);
    EXPECT_EQ(player.GetAttributeInt("score", 0), -25000);
    EXPECT_TRUE(player.GetAttributeBool("on", false));
    EXPECT_EQ(player.GetAttribute("name", ""), "Bob");
    EXPECT_EQ(loaded.SelectNodes("//Level").GetLength(), 1);
    EXPECT_EQ(loaded.GetFileName(), "config.XML");
}

TEST_F(XmlTest, CreatedNodesStayOutOfTheTextUntilAppended) {
    CXMLFile xml;
    CXMLNode early = xml.CreateNode("Early");
    CXMLNode never = xml.CreateNode("Never");
    never.SetAttribute("x", "1");
    ASSERT_TRUE(xml.CreateRoot("Save"));
    CXMLNode root = xml.SelectSingleNode("Save");
    ASSERT_TRUE(root.AppendChild(early));
    std::string text;
    xml.GetXML(text);
    EXPECT_EQ(text, "<?xml version=\"1.0\"?><Save><Early/></Save>");

    // A node of another document is copied in, and its handle follows the copy.
    CXMLFile other;
    CXMLNode foreign = other.CreateNode("Foreign");
    ASSERT_TRUE(early.AppendChild(foreign));
    foreign.SetAttributeInt("n", 4);
    xml.GetXML(text);
    EXPECT_EQ(text, "<?xml version=\"1.0\"?><Save><Early><Foreign n=\"4\"/></Early></Save>");
    other.GetXML(text);
    EXPECT_EQ(text, "");
}

TEST_F(XmlTest, NodeHandlesOutliveTheirDocument) {
    CXMLNode item;
    {
        CXMLFile xml;
        xml.Parse(std::string_view(kDoc));
        item = xml.SelectSingleNode("//Item");
    }
    EXPECT_EQ(item.GetAttributeInt("a", 0), 7);
}

// Bytes 0x80..0xFF pass unchanged through load, attributes, text, save and GetXML,
// whatever the document declares.
TEST_F(XmlTest, EightBitTextRoundTrips) {
    std::string high;
    for (int c = 0x80; c <= 0xFF; ++c) high.push_back(static_cast<char>(c));
    const std::string file = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><L t=\"\xC4pfel \xE9t\xE9\">\xF6l" + high +
                             "</L>";
    WriteBytes("Settings/Labels.xml", file);
    CXMLFile loaded("Settings\\Labels.xml");
    CXMLNode l = loaded.SelectSingleNode("//L");
    EXPECT_EQ(l.GetAttribute("t", ""), "\xC4pfel \xE9t\xE9");
    EXPECT_EQ(l.GetValue(), "\xF6l" + high);
    EXPECT_TRUE(loaded.SelectSingleNode("//L[@t='\xC4pfel \xE9t\xE9']").IsValid()) << "8-bit text in queries";

    CXMLFile built;
    built.CreateRoot("R");
    CXMLNode node = built.CreateNode("N\xE9");
    built.SelectSingleNode("R").AppendChild(node);
    node.SetAttribute("v", high);
    std::vector<uint8_t> text;
    ASSERT_TRUE(built.GetXML(text));
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.back(), 0) << "GetXML ends with one zero byte";
    EXPECT_NE(Text(text).find("v=\"" + high + "\""), std::string::npos) << "written as single bytes";
    CXMLFile parsed;
    ASSERT_TRUE(parsed.Parse(text));
    EXPECT_EQ(parsed.SelectSingleNode("//N\xE9").GetAttribute("v", ""), high);

    ASSERT_TRUE(built.Save("Out.xml"));
    CXMLFile reloaded("Out.xml");
    EXPECT_EQ(reloaded.SelectSingleNode("//N\xE9").GetAttribute("v", ""), high);
    EXPECT_NE(ReadBytes("Out.xml").find(high), std::string::npos);

    // A byte-order mark is skipped; the bytes after it are still taken one by one.
    CXMLFile marked;
    ASSERT_TRUE(marked.Parse(std::string_view("\xEF\xBB\xBF<a v=\"\xC3\xA9\"/>")));
    EXPECT_EQ(marked.SelectSingleNode("a").GetAttribute("v", ""), "\xC3\xA9");

    // A character reference beyond 8 bits cannot pass and reads as '?'.
    CXMLFile wide;
    wide.Parse(std::string_view("<a v=\"&#xE9;&#x20AC;\"/>"));
    EXPECT_EQ(wide.SelectSingleNode("a").GetAttribute("v", ""), "\xE9?");
}

TEST_F(XmlTest, FailuresLogAndThrow) {
    try {
        CXMLFile missing("Settings\\Missing.xml");
        FAIL() << "no exception";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Error opening xml!");
    }
    EXPECT_NE(NewLog().find("Error: Failed to open XML file 'Settings\\Missing.xml'!"), std::string::npos);

    WriteBytes("Broken.xml", "<a>\n<b>\n</a>");
    try {
        CXMLFile broken("Broken.xml");
        FAIL() << "no exception";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "XML parse error!");
    }
    EXPECT_NE(NewLog().find("Error: Parse error - File: Broken.xml, Line: 3, Source: </a>, Reason: "), std::string::npos)
        << NewLog();

    CXMLFile xml;
    xml.Parse(std::string_view("<keep x=\"1\"/>"));
    CXMLNode kept = xml.SelectSingleNode("keep");
    EXPECT_THROW(xml.Parse(std::string_view("")), std::runtime_error);
    EXPECT_EQ(kept.GetAttributeInt("x", 0), 1) << "handles keep what they point to";
}

// A folder that holds only Data.pak: the XML is read from the package exactly as
// it was read from the tree.
TEST_F(XmlTest, ReadsFromAPackageWithoutLooseFiles) {
    WriteBytes("tree/Settings/Samples.xml", "<Samples><Sample alias=\"ball_move\" file=\"Sounds\\Move.wav\"/></Samples>");
    WriteBytes("tree/Bases/Common.xml", "<Common><Salute count=\"5\"/></Common>");
    CPackageWriter writer;
    std::string error;
    ASSERT_TRUE(writer.AddFolder("tree", {".xml"}, &error)) << error;
    ASSERT_TRUE(writer.Write("Data.pak", &error)) << error;
    fs::remove_all("tree");

    ASSERT_TRUE(CFileOpener::Instance().OpenPackage("Data.pak"));
    CXMLFile samples("Settings\\Samples.xml");
    EXPECT_EQ(samples.SelectSingleNode("//Samples/Sample").GetAttribute("file", ""), "Sounds\\Move.wav");
    CXMLFile common("bases\\common.xml");
    EXPECT_EQ(common.SelectSingleNode("//Common/Salute").GetAttributeInt("count", 0), 5);
    CFileOpener::Instance().ClosePackage();
    EXPECT_THROW(CXMLFile("Settings\\Samples.xml"), std::runtime_error);
}

// The game's own data tree packed whole: every XML file of it reads from the
// package exactly as from the tree.
TEST_F(XmlTest, DataTreePackedReadsTheSame) {
    const fs::path tree = VOVARO_DATA_DIR;
    std::vector<fs::path> files;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(tree, ec), end; !ec && it != end; it.increment(ec)) {
        std::string ext = it->path().extension().string();
        for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (it->is_regular_file() && ext == ".xml") files.push_back(fs::relative(it->path(), tree));
    }
    if (files.empty()) GTEST_SKIP() << "the data tree holds no XML files yet";
    CPackageWriter writer;
    std::string error;
    ASSERT_TRUE(writer.AddFolder(tree.string(), {".xml"}, &error)) << error;
    ASSERT_TRUE(writer.Write("Data.pak", &error)) << error;
    ASSERT_TRUE(CFileOpener::Instance().OpenPackage("Data.pak"));
    for (const fs::path& rel : files) {
        std::string windows_name = rel.generic_string();
        for (char& c : windows_name)
            if (c == '/') c = '\\';
        std::string from_tree, from_package;
        fs::current_path(tree);
        CFileOpener::Instance().ClosePackage();
        CXMLFile(windows_name).GetXML(from_tree);
        fs::current_path(dir_);
        ASSERT_TRUE(CFileOpener::Instance().OpenPackage("Data.pak"));
        CXMLFile(windows_name).GetXML(from_package);
        EXPECT_EQ(from_tree, from_package) << windows_name;
    }
    CFileOpener::Instance().ClosePackage();
}

}  // namespace
