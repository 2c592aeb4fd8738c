// The table layer over the GUI's data file.
#include <gtest/gtest.h>

#include <atomic>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>
#include <memory>
#include <sys/stat.h>

#include "DataReader.h"
#include "DataTable.h"
#include "service_test_util.h"

namespace {

// libxml2 writes back what it read; a fixture already in its output form
// lets write-back tests compare whole files byte for byte.
const char kSchedules[] =
    "<?xml version=\"1.0\"?>\n"
    "<root>\n"
    "  <Users><user><index>10</index><name>admin</name><status>0</status></user></Users>\n"
    "  <BGASchedules>\n"
    "    <!-- written by the GUI -->\n"
    "    <schedule><index>1</index><settingType>0</settingType><status>0</status></schedule>\n"
    "    <schedule><index>10</index><settingType>1</settingType><status>0</status><bgaType>5</bgaType></schedule>\n"
    "    <empty/>\n"
    "    <schedule>\n"
    "      <index>2</index>\n"
    "      <!-- a comment between fields -->\n"
    "      <settingType>2</settingType>\n"
    "      <status/>\n"
    "      <bgaType>3</bgaType>\n"
    "      <bgaType>7</bgaType>\n"
    "    </schedule>\n"
    "  </BGASchedules>\n"
    "</root>\n";

class DataTableTest : public ::testing::Test {
 protected:
  TempDir dir;
  ScopedEnv db{"ARRAY_DB_DIR", dir.path()};
  std::string xml = dir.file("db.xml");
  DataReader reader{xml, DataReader::STORAGE_TYPE_XML};

  std::unique_ptr<DataTable> read(const char* name = "root/BGASchedules") {
    DataKeyNameList keys;
    keys.insert("index");
    return std::unique_ptr<DataTable>(reader.getTable(name, keys));
  }
  std::string log() { return readFile(dir.file("arraywatch.log")); }
};

TEST_F(DataTableTest, RowsInKeyOrderAsText) {
  writeFile(xml, kSchedules);
  auto table = read();
  ASSERT_EQ(table->getRowCount(), 3);
  EXPECT_EQ(table->getName(), "root/BGASchedules");
  EXPECT_EQ(table->getRow(0)->getValueByName("index"), "1");
  EXPECT_EQ(table->getRow(1)->getValueByName("index"), "10");
  EXPECT_EQ(table->getRow(2)->getValueByName("index"), "2");
  EXPECT_EQ(table->getRow(-5)->getValueByName("index"), "1");
  EXPECT_EQ(table->getRow(3), nullptr);
  EXPECT_EQ(table->getRow(0)->getTable(), table.get());
}

TEST_F(DataTableTest, EmptyAndMissingFieldsReadZero) {
  writeFile(xml, kSchedules);
  auto table = read();
  DataRow* row2 = table->getRow(2);
  EXPECT_EQ(row2->getValueByName("status"), "0");
  EXPECT_EQ(row2->getValueByName("settingTime"), "0");
  EXPECT_EQ(row2->getValueByName("settingType"), "2");
}

TEST_F(DataTableTest, CommentsWhitespaceAndRepeatedFields) {
  writeFile(xml, kSchedules);
  auto table = read();
  // The <empty/> element and the comments made no row.
  EXPECT_EQ(table->getRowCount(), 3);
  EXPECT_EQ(table->getRow(2)->getValueByName("bgaType"), "7");  // the later one wins
  EXPECT_EQ(table->getRow(2)->getValueByName("comment"), "0");
}

TEST_F(DataTableTest, OtherTablesAreSeparate) {
  writeFile(xml, kSchedules);
  auto users = read("root/Users");
  ASSERT_EQ(users->getRowCount(), 1);
  EXPECT_EQ(users->getRow(0)->getValueByName("name"), "admin");
  EXPECT_EQ(read("root/Nothing")->getRowCount(), 0);
  EXPECT_EQ(read("root/[")->getRowCount(), 0);  // an invalid expression
  EXPECT_EQ(read(std::string(600, 'a').c_str())->getRowCount(), 0);  // too long for the buffer
}

TEST_F(DataTableTest, DuplicateAndMissingKeysKeepTheFirstRow) {
  writeFile(xml,
            "<root><BGASchedules>"
            "<s><index>4</index><status>first</status></s>"
            "<s><index>4</index><status>second</status></s>"
            "<s><status>nokey-a</status></s>"
            "<s><status>nokey-b</status></s>"
            "</BGASchedules></root>");
  auto table = read();
  ASSERT_EQ(table->getRowCount(), 2);
  // The empty key sorts before every key with fields.
  EXPECT_EQ(table->getRow(0)->getValueByName("status"), "nokey-a");
  EXPECT_EQ(table->getRow(1)->getValueByName("status"), "first");
}

TEST_F(DataTableTest, EntitiesAreExpanded) {
  writeFile(xml, "<root><BGASchedules><s><index>1</index><name>a&amp;b &lt;c&gt;</name></s></BGASchedules></root>");
  EXPECT_EQ(read()->getRow(0)->getValueByName("name"), "a&b <c>");
}

TEST_F(DataTableTest, ExternalEntitiesAreNotLoaded) {
  const std::string secret = dir.file("secret.txt");
  writeFile(secret, "not for the daemon");
  writeFile(xml, "<?xml version=\"1.0\"?>\n<!DOCTYPE root [<!ENTITY x SYSTEM \"file://" + secret +
                     "\">]>\n<root><BGASchedules><s><index>1</index><name>[&x;]</name></s></BGASchedules></root>\n");
  auto table = read();
  ASSERT_EQ(table->getRowCount(), 1);
  EXPECT_EQ(table->getRow(0)->getValueByName("name").find("not for the daemon"), std::string::npos);
}

TEST_F(DataTableTest, MissingFileGivesEmptyTableAndCreatesNothing) {
  auto table = read();
  EXPECT_EQ(table->getRowCount(), 0);
  EXPECT_EQ(table->getRow(0), nullptr);
  EXPECT_FALSE(fileExists(xml));
  EXPECT_NE(log().find(": xml file not exist .\n"), std::string::npos);
}

TEST_F(DataTableTest, UnparseableFileIsLeftAlone) {
  const std::string broken = "<root><BGASchedules><s><index>1</index><status>0</status></s>";
  writeFile(xml, broken);
  auto table = read();
  EXPECT_EQ(table->getRowCount(), 0);
  EXPECT_NE(log().find(": read xml file error.\n"), std::string::npos);

  // A row read before the file got damaged is not saved over it.
  writeFile(xml, kSchedules);
  auto good = read();
  writeFile(xml, broken);
  good->getRow(0)->changeValue("status", "1");
  good->flashData();
  EXPECT_EQ(readFile(xml), broken);
}

TEST_F(DataTableTest, EmptyFileIsUnparseable) {
  writeFile(xml, "");
  EXPECT_EQ(read()->getRowCount(), 0);
  EXPECT_NE(log().find("read xml file error."), std::string::npos);
  EXPECT_EQ(readFile(xml), "");
}

TEST_F(DataTableTest, WriteBackTouchesOnlyTheChangedElementOfTheRightRow) {
  writeFile(xml, kSchedules);
  auto table = read();
  DataRow* row10 = table->getRow(1);
  ASSERT_EQ(row10->getValueByName("index"), "10");
  EXPECT_FALSE(row10->isChanged());
  row10->changeValue("status", "1");
  EXPECT_TRUE(row10->isChanged());
  EXPECT_EQ(row10->getUpdateItemNameList(), DataKeyNameList{"status"});
  table->flashData();

  std::string expected = kSchedules;
  const std::string before = "<index>10</index><settingType>1</settingType><status>0</status>";
  const std::string after = "<index>10</index><settingType>1</settingType><status>1</status>";
  expected.replace(expected.find(before), before.size(), after);
  // The Users row with index 10 comes first in the file and keeps its status.
  EXPECT_EQ(readFile(xml), expected);
}

TEST_F(DataTableTest, UnchangedRowsWriteNothing) {
  writeFile(xml, kSchedules);
  struct stat before;
  ASSERT_EQ(stat(xml.c_str(), &before), 0);
  auto table = read();
  table->flashData();
  struct stat after;
  ASSERT_EQ(stat(xml.c_str(), &after), 0);
  EXPECT_EQ(before.st_ino, after.st_ino);  // not replaced
  EXPECT_EQ(readFile(xml), kSchedules);
}

TEST_F(DataTableTest, WrittenValuesAreEscapedText) {
  writeFile(xml, kSchedules);
  auto table = read();
  table->getRow(0)->changeValue("status", "a<b&c>\"d");
  table->flashData();
  EXPECT_NE(readFile(xml).find("<status>a&lt;b&amp;c&gt;\"d</status>"), std::string::npos);
  EXPECT_EQ(read()->getRow(0)->getValueByName("status"), "a<b&c>\"d");
}

TEST_F(DataTableTest, MissingChangedFieldIsAdded) {
  writeFile(xml, "<root><BGASchedules><s><index>3</index><settingType>0</settingType></s></BGASchedules></root>");
  auto table = read();
  table->getRow(0)->changeValue("status", "1");
  table->flashData();
  EXPECT_EQ(read()->getRow(0)->getValueByName("status"), "1");
}

TEST_F(DataTableTest, RowNoLongerInFileChangesNothing) {
  writeFile(xml, kSchedules);
  auto table = read();
  table->getRow(2)->changeValue("status", "1");  // index 2
  const std::string without = "<?xml version=\"1.0\"?>\n<root><BGASchedules/></root>\n";
  writeFile(xml, without);
  table->flashData();
  EXPECT_EQ(readFile(xml), without);
}

TEST_F(DataTableTest, WriteBackKeepsModeAndLeavesNoTemporaryFile) {
  writeFile(xml, kSchedules);
  ASSERT_EQ(chmod(xml.c_str(), 0640), 0);
  auto table = read();
  table->getRow(0)->changeValue("status", "1");
  table->flashData();
  struct stat st;
  ASSERT_EQ(stat(xml.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  DIR* d = opendir(dir.path().c_str());
  ASSERT_NE(d, nullptr);
  std::vector<std::string> names;
  while (dirent* e = readdir(d)) names.push_back(e->d_name);
  closedir(d);
  for (const std::string& n : names) {
    EXPECT_TRUE(n == "db.xml.lock" || n.find("db.xml.") == std::string::npos) << n;
  }
}

// The GUI replaces the file under this lock after re-reading it; a
// write-back in between would drop what the GUI just wrote.
TEST_F(DataTableTest, WriteBackWaitsForTheGuiLock) {
  writeFile(xml, kSchedules);
  int gui = open((xml + ".lock").c_str(), O_RDWR | O_CREAT, 0644);
  ASSERT_GE(gui, 0);
  ASSERT_EQ(flock(gui, LOCK_EX), 0);
  auto table = read();
  table->getRow(0)->changeValue("status", "1");
  std::atomic<bool> done{false};
  std::thread daemon([&] {
    table->flashData();
    done = true;
  });
  usleep(300000);
  EXPECT_FALSE(done);
  EXPECT_EQ(readFile(xml), kSchedules);
  close(gui);
  daemon.join();
  EXPECT_NE(readFile(xml).find("<index>1</index><settingType>0</settingType><status>1</status>"), std::string::npos);
}

// A GUI process that never lets go of the lock stalls a write-back for 2 s,
// not for ever: the mark is written without the lock and the log says so.
TEST_F(DataTableTest, WriteBackGivesUpWaitingAfterTwoSeconds) {
  writeFile(xml, kSchedules);
  int gui = open((xml + ".lock").c_str(), O_RDWR | O_CREAT, 0644);
  ASSERT_GE(gui, 0);
  ASSERT_EQ(flock(gui, LOCK_EX), 0);
  auto table = read();
  table->getRow(0)->changeValue("status", "1");
  table->flashData();
  EXPECT_NE(readFile(xml).find("<index>1</index><settingType>0</settingType><status>1</status>"), std::string::npos);
  EXPECT_NE(log().find("data file lock not obtained; writing back without it."), std::string::npos) << log();
  close(gui);
}

TEST_F(DataTableTest, WriteBackIntoMissingDirectoryFailsQuietly) {
  writeFile(xml, kSchedules);
  auto table = read();
  table->getRow(0)->changeValue("status", "1");
  removeTree(dir.path());
  table->flashData();
  EXPECT_FALSE(fileExists(xml));
  ASSERT_EQ(mkdir(dir.path().c_str(), 0700), 0);  // for the TempDir's own clean-up
}

TEST_F(DataTableTest, DeclaredEncodingIsKept) {
  const std::string latin = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n"
                            "<root><BGASchedules><s><index>1</index><name>caf\xe9</name><status>0</status></s>"
                            "</BGASchedules></root>\n";
  writeFile(xml, latin);
  auto table = read();
  EXPECT_EQ(table->getRow(0)->getValueByName("name"), "caf\xc3\xa9");  // read as UTF-8
  table->getRow(0)->changeValue("status", "1");
  table->flashData();
  std::string expected = latin;
  expected.replace(expected.find("<status>0"), 9, "<status>1");
  EXPECT_EQ(readFile(xml), expected);
}

TEST(DataKeyOrder, ComparesNameValuePairsByteWise) {
  DataKey empty1, empty2, a, b, c, longer;
  a.setValue("index", "1");
  b.setValue("index", "10");
  c.setValue("index", "2");
  longer.setValue("index", "1");
  longer.setValue("z", "0");
  EXPECT_TRUE(a < b);
  EXPECT_TRUE(b < c);
  EXPECT_FALSE(c < a);
  EXPECT_TRUE(empty1 < a);
  EXPECT_FALSE(empty1 < empty2);
  EXPECT_FALSE(empty2 < empty1);
  EXPECT_TRUE(a < longer);  // a proper prefix is smaller
  DataKey high;
  high.setValue("index", "\xff");
  EXPECT_TRUE(c < high);  // bytes compare unsigned
  EXPECT_EQ(a.getItemNameList(), DataKeyNameList{"index"});
  EXPECT_EQ(a.getKeyContainer().at("index"), "1");
}

TEST(DataRowTest, ChangeValueRecordsTheField) {
  DataRow row;
  row.setValue("status", "0");
  EXPECT_FALSE(row.isChanged());
  row.changeValue("status", "1");
  row.changeValue("status", "2");
  EXPECT_TRUE(row.isChanged());
  EXPECT_EQ(row.getValueByName("status"), "2");
  EXPECT_EQ(row.getUpdateItemNameList().size(), 1u);
}

TEST(DataReaderStorage, OtherStorageTypesDoNothing) {
  TempDir dir;
  ScopedEnv db("ARRAY_DB_DIR", dir.path());
  writeFile(dir.file("db.xml"), kSchedules);
  DataReader reader(dir.file("db.xml"), 1);
  std::unique_ptr<DataTable> table(reader.getTable("root/BGASchedules", DataKeyNameList{"index"}));
  EXPECT_EQ(table->getRowCount(), 0);
}

}  // namespace
