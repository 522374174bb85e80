#include "ide/UnitSource.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using ide::SetFormFields;
using ide::TFormField;

const std::vector<TFormField> Fields = {{"HyperTxt1", "THyperTxt"}, {"Image1", "TImage"}};

// The form class's field list follows the form; everything else in the unit stays byte for byte.
TEST(UnitSourceTest, TheFieldListFollowsTheFormAndNothingElseChanges) {
  struct TCase {
    const char* Name;
    std::string Before, After;
  };
  const TCase cases[] = {
      {"fields added after the class line, in the unit's CR LF line ends",
       "type\r\n  TForm1 = class(TForm)\r\n  end;\r\n\r\nvar\r\n  Form1: TForm1;\r\n",
       "type\r\n  TForm1 = class(TForm)\r\n    HyperTxt1: THyperTxt;\r\n    Image1: TImage;\r\n"
       "  end;\r\n\r\nvar\r\n  Form1: TForm1;\r\n"},
      {"renamed, removed and reordered, indented as they were, before the private part",
       "type\n  TForm1 = class(TForm)\n      Image1 : TImage;\n      Gone1: TLabel;\n"
       "      HyperTxt9: THyperTxt;\n  private\n    { Private declarations }\n  end;\n",
       "type\n  TForm1 = class(TForm)\n      HyperTxt1: THyperTxt;\n      Image1: TImage;\n"
       "  private\n    { Private declarations }\n  end;\n"},
      {"methods after the fields stay",
       "  TForm1 = class(TForm)\n    Old1: TLabel;\n    procedure FormCreate(Sender: TObject);\n"
       "  end;\n",
       "  TForm1 = class(TForm)\n    HyperTxt1: THyperTxt;\n    Image1: TImage;\n"
       "    procedure FormCreate(Sender: TObject);\n  end;\n"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    std::string source = c.Before;
    ASSERT_TRUE(SetFormFields(source, Fields));
    EXPECT_EQ(source, c.After);
    ASSERT_TRUE(SetFormFields(source, Fields));
    EXPECT_EQ(source, c.After);
  }
}

TEST(UnitSourceTest, AUnitWhoseFieldsCannotBeReadIsLeftAlone) {
  const char* unreadable[] = {
      "unit Unit1;\ninterface\nend.\n",
      "  TForm1 = class(TForm)\n    Label1, Label2: TLabel;\n  end;\n",
      "  TForm1 = class(TForm)\n    { the frame's parts }\n    Label1: TLabel;\n  end;\n",
      "  TForm1 = class(TForm)\n    Label1: TLabel; Label2: TLabel;\n  end;\n",
      "  TForm1 = class(TForm)\n    Label1: TLabel;",
  };
  for (const char* before : unreadable) {
    SCOPED_TRACE(before);
    std::string source = before;
    EXPECT_FALSE(SetFormFields(source, Fields));
    EXPECT_EQ(source, before);
  }
}

}  // namespace
