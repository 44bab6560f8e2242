// Every reader given what is not a file: a directory, a pipe with no writer
// and an endless device. Each must refuse it at once with a message naming
// what it was given, never block on the pipe or read the device for ever.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "engine/config/ConfigParser.h"
#include "engine/files/DataFile.h"
#include "engine/files/ObjectDefStore.h"
#include "engine/files/ObjectFile.h"
#include "engine/files/Serializer.h"
#include "engine/image/TexTransport.h"
#include "platform/DebugOutput.h"
#include "platform/FileRead.h"
#include "platform/tests/ScratchDir.h"
#include "platform/window/ScriptedInput.h"
#include "renderer/formats/RendererImage.h"
#include "renderer/formats/SSMObject.h"
#include "renderer/formats/STexture2.h"
#include "sound/OGG.h"
#include "sound/Wave.h"

namespace {

struct OddFile {
  const char* what;
  const char* kindText;  // what the message calls it
  // Makes it in `dir` under `name`; false when this machine cannot.
  std::function<bool(const ScratchDir& dir, const std::string& name)> make;
};

const OddFile kOddFiles[] = {
    {"directory", "is a directory",
     [](const ScratchDir& dir, const std::string& name) {
       return std::filesystem::create_directory(dir.File(name));
     }},
    {"pipe with no writer", "is a pipe",
     [](const ScratchDir& dir, const std::string& name) { return ::mkfifo(dir.File(name).c_str(), 0600) == 0; }},
    {"endless device", "is a character device",
     [](const ScratchDir& dir, const std::string& name) {
       std::error_code ec;
       std::filesystem::create_symlink("/dev/zero", dir.File(name), ec);
       return !ec;
     }},
};

struct Reader {
  const char* name;
  const char* fileName;  // readers that choose by extension get the right one
  // Reads the file at `path` inside `dir`; true when it was accepted.
  std::function<bool(const ScratchDir& dir, const std::string& path)> read;
};

const Reader kReaders[] = {
    {"configuration script", "odd.cfg",
     [](const ScratchDir&, const std::string& path) {
       ConfigParser parser;
       return !status::Failed(parser.ReadFile(path, ConfigParser::StatementHandler::Settings));
     }},
    {"data table", "odd.txt", [](const ScratchDir&, const std::string& path) { return CDataFile().Load(path); }},
    {"object definitions", "odd.def",
     [](const ScratchDir& dir, const std::string&) {
       ObjectDefStore store;
       store.GetParser()->SetBaseDirectory(dir.Root().string());
       return store.LoadFile("odd.def");
     }},
    {"object file", "odd.obj",
     [](const ScratchDir& dir, const std::string&) { return ObjectFile().Load("odd.obj", dir.Root().string()); }},
    {"save", "odd.kv9",
     [](const ScratchDir&, const std::string& path) {
       cSerializer in;
       if (!in.Initialize(path, false)) return false;
       SerialBlock block;
       uint32_t n = 0;
       while (in.ReadBlock(&block, &n)) {
       }
       return !in.ReadFailed();
     }},
    {"engine image", "odd.bmp",
     [](const ScratchDir&, const std::string& path) {
       return std::unique_ptr<TexTransport>(TexTransport_LoadImageFile(path, 0)) != nullptr;
     }},
    {"renderer image", "odd.tga",
     [](const ScratchDir&, const std::string& path) {
       return std::unique_ptr<TexTransport>(renderer::TexTransport_LoadImageFile(path, 0)) != nullptr;
     }},
    {"model", "odd.ssm",
     [](const ScratchDir&, const std::string& path) { return !status::Failed(SSMObject().LoadFile(path)); }},
    {"texture file", "odd.stx", [](const ScratchDir&, const std::string& path) { return STexture2().Load(path, true); }},
    {"wave sound", "odd.wav", [](const ScratchDir&, const std::string& path) { return Wave().Load(path); }},
    {"Ogg sound", "odd.ogg", [](const ScratchDir&, const std::string& path) { return OGG().Load(path); }},
    {"input script", "odd.input",
     [](const ScratchDir&, const std::string& path) { return !status::Failed(platform::ScriptedInput().Load(path)); }},
    {"model description (ssmtool)", "odd.txt",
     [](const ScratchDir& dir, const std::string& path) {
       const std::string command = std::string(SSMTOOL) + " '" + path + "' '" + dir.File("out.ssm") + "' 2>'" +
                                   dir.File("ssmtool.err") + "'";
       const int status = std::system(command.c_str());
       // The tool's message goes to its own stderr; hand it to the capture.
       platform::OutputDebugString(dir.Read("ssmtool.err"));
       return WIFEXITED(status) && WEXITSTATUS(status) == 0;
     }},
};

TEST(OddFiles, EveryReaderRefusesWhatIsNotAFileWithAMessage) {
  for (const Reader& reader : kReaders) {
    for (const OddFile& odd : kOddFiles) {
      ScratchDir dir;
      ASSERT_TRUE(odd.make(dir, reader.fileName)) << odd.what;
      platform::ClearPathCache();
      platform::ScopedDebugCapture capture;
      EXPECT_FALSE(reader.read(dir, dir.File(reader.fileName))) << reader.name << " accepted a " << odd.what;
      EXPECT_TRUE(capture.Contains(odd.kindText))
          << reader.name << " given a " << odd.what << " said: " << capture.Text();
    }
  }
}

TEST(OddFiles, SizesAreCheckedBeforeReading) {
  ScratchDir dir;
  const std::string path = dir.Write("big.txt", std::string(100, 'x'));
  struct Case {
    const char* what;
    uint64_t cap;
    bool accepted;
  };
  const Case cases[] = {{"cap below the size", 99, false}, {"cap at the size", 100, true}, {"no bytes allowed", 0, false}};
  for (const Case& c : cases) {
    std::string text;
    platform::FileReadError why;
    EXPECT_EQ(platform::ReadFileText(path, c.cap, &text, &why), c.accepted) << c.what;
    EXPECT_EQ(text.size(), c.accepted ? 100u : 0u) << c.what;
    if (!c.accepted) {
      EXPECT_EQ(why.kind, platform::FileReadError::kTooLarge) << c.what;
      EXPECT_NE(why.text.find("100 bytes"), std::string::npos) << c.what << ": " << why.text;
    }
  }
}

}  // namespace
