#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "host/FormFile.h"
#include "host/Forms.h"
#include "runtime/RuntimeClasses.h"

using namespace host;

namespace {

// The tour's folder is the current directory while its forms are read, as under mebrox-run:
// word lists named without a directory are found there.
class InTourFolder {
 public:
  InTourFolder() : FOld(std::filesystem::current_path()) {
    std::filesystem::current_path(MEBROX_TOUR_SOURCE);
  }
  ~InTourFolder() { std::filesystem::current_path(FOld); }

 private:
  std::filesystem::path FOld;
};

}  // namespace

// Every published property of every run-time component survives a write and a read: each
// tour form, read and written, reads back to the very same text.
TEST(TourFormsTest, EveryFormReadsBackToTheSameText) {
  mebrox::RegisterRuntimeClasses();
  InTourFolder folder;
  for (int n = 1; n <= 4; ++n) {
    std::string file = "Unit" + std::to_string(n) + ".dfm";
    TForm original(nullptr);
    ReadComponentFile(file, original);
    std::string written = WriteComponentText(original);
    TForm copy(nullptr);
    ReadComponentText(written, copy, file + " (written)");
    EXPECT_EQ(WriteComponentText(copy), written) << file;
    EXPECT_EQ(copy.ClassName(), "TForm" + std::to_string(n));
    EXPECT_GT(copy.ComponentCount(), 1) << file;
  }
}
