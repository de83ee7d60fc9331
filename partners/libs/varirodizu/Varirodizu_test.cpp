// The conversion library is loaded by name, as the module loads it, and driven through its
// exported entries only.
#include "Varirodizu.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>

#include "automation/DynamicLibrary.h"
#include "os/CodePage.h"

namespace {

std::string Gbk(std::u16string_view text) {
  return os::WideToAnsi(text, os::CP_GBK);
}
std::string Big5(std::u16string_view text) {
  return os::WideToAnsi(text, os::CP_BIG5);
}

std::unique_ptr<automation::DynamicLibrary> LoadVarirodizu() {
  setenv("QZLB27_LIBRARY_PATH", QZLB27_BUILD_DIR "/lib", 1);
  return automation::DynamicLibrary::Load("Varirodizu.dll");
}

class Varirodizu : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    library_ = LoadVarirodizu().release();
    library_->Pin();
    gbToBig5_ = library_->EntryAs<const char*(const char*)>("GBtoBIG5");
    big5ToGb_ = library_->EntryAs<const char*(const char*)>("BIG5toGB");
    ASSERT_NE(gbToBig5_, nullptr);
    ASSERT_NE(big5ToGb_, nullptr);
  }
  static std::string GbToBig5(const std::string& text) { return gbToBig5_(text.c_str()); }
  static std::string Big5ToGb(const std::string& text) { return big5ToGb_(text.c_str()); }

  static inline automation::DynamicLibrary* library_ = nullptr;
  static inline VarirodizuEntry gbToBig5_ = nullptr;
  static inline VarirodizuEntry big5ToGb_ = nullptr;
};

TEST_F(Varirodizu, ExportsTheEntriesTheModuleLooksUp) {
  for (const char* name : {"GBtoBIG5", "BIG5toGB", "GetBIG5Data", "GetGBData", "SaveOrder"})
    EXPECT_NE(library_->Entry(name), nullptr) << name;
  // Looked up, never called: they answer nothing.
  for (const char* name : {"GetBIG5Data", "GetGBData", "SaveOrder"})
    EXPECT_STREQ(library_->EntryAs<const char*(const char*)>(name)(Gbk(u"确定").c_str()), "");
}

TEST_F(Varirodizu, ConvertsWindowTextsBothWays) {
  struct {
    std::u16string simplified, traditional;
  } cases[] = {
      {u"采购退货单", u"採購退貨單"},
      {u"确定", u"確定"},
      {u"取消", u"取消"},
      {u"条件方案", u"條件方案"},
      {u"执行方式", u"執行方式"},
      {u"周期", u"週期"},
      {u"通知", u"通知"},
      {u"确定(&O)", u"確定(&O)"},
      {u"[F2]退货单号信息查询", u"[F2]退貨單號信息查詢"},
      {u"Portal 用户", u"Portal 用戶"},
      {u"Return 5", u"Return 5"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GbToBig5(Gbk(c.simplified)), Big5(c.traditional)) << os::WideToUtf8(c.simplified);
    EXPECT_EQ(Big5ToGb(Big5(c.traditional)), Gbk(c.simplified)) << os::WideToUtf8(c.traditional);
  }
}

TEST_F(Varirodizu, TraditionalFormsBig5LacksTakeTheirTaiwanForm) {
  // OpenCC writes "启", "为" and "着" as "啓", "爲" and "着", none of which BIG5 has.
  struct {
    std::u16string simplified, traditional;
  } cases[] = {
      {u"开启(&O)", u"開啟(&O)"},
      {u"替换为此方案", u"替換為此方案"},
      {u"执行着", u"執行著"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(GbToBig5(Gbk(c.simplified)), Big5(c.traditional)) << os::WideToUtf8(c.simplified);
}

TEST_F(Varirodizu, CharactersMissingInTheTargetCodePageBecomeQuestionMarks) {
  struct {
    bool toBig5;
    std::string input, expected;
  } cases[] = {
      // "丂" and "ぁ" are GBK characters BIG5 does not have; "‧" is a BIG5 one GBK lacks.
      {true, Gbk(u"确丂定"), Big5(u"確") + "?" + Big5(u"定")},
      {true, Gbk(u"ぁ通知"), "?" + Big5(u"通知")},
      {false, Big5(u"單‧據"), Gbk(u"单") + "?" + Gbk(u"据")},
      // Bytes that are no character of the source code page, and a lead byte cut off at the end.
      {true, Gbk(u"确") + "\xFF" + Gbk(u"定"), Big5(u"確") + "?" + Big5(u"定")},
      {true, Gbk(u"确定") + "\xB6", Big5(u"確定") + "?"},
      {false, Big5(u"確定") + "\xA4", Gbk(u"确定") + "?"},
      // Question marks of the text stay what they are.
      {true, Gbk(u"是否?"), Big5(u"是否?")},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.toBig5 ? GbToBig5(c.input) : Big5ToGb(c.input), c.expected) << c.input;
}

TEST_F(Varirodizu, LongTextsAreNeverTruncated) {
  std::u16string simplified, traditional;
  for (int i = 0; i < 4000; ++i) {
    simplified += u"采购退货单丂;";
    traditional += u"採購退貨單?;";
  }
  EXPECT_EQ(GbToBig5(Gbk(simplified)), Big5(traditional));
}

TEST_F(Varirodizu, EmptyAndNullTextsGiveEmptyTexts) {
  EXPECT_EQ(GbToBig5(""), "");
  EXPECT_EQ(Big5ToGb(""), "");
  EXPECT_STREQ(gbToBig5_(nullptr), "");
  EXPECT_STREQ(big5ToGb_(nullptr), "");
}

TEST_F(Varirodizu, GbToBig5ToGbGivesTheModuleTextsBack) {
  // The module's own window captions, button texts, hints and messages.
  const std::u16string texts[] = {
      u"-普及版",
      u"1.系统用户",
      u"5.Portal用户",
      u"=预定运行日",
      u"Portal 用户信息查询",
      u"[F2]日期快手",
      u"[F2]系统用户开窗",
      u"[F2]退货单号信息查询",
      u"[您现在运行的是Exe版本!]",
      u"个月的",
      u"中断(&A)",
      u"作业日期",
      u"保存",
      u"保存(&S)",
      u"信息需要立即生成",
      u"全否(&o)",
      u"全是(&A)",
      u"全部(&A)",
      u"分",
      u"创建时间",
      u"删除",
      u"删除(&D)",
      u"制表日期",
      u"加/减",
      u"区间选择",
      u"区间选择-截止信息",
      u"区间选择-截止信息开窗",
      u"区间选择-起始信息",
      u"区间选择-起始信息开窗",
      u"取消",
      u"变动字段",
      u"变动截止日期",
      u"变动日期",
      u"变动起始日期",
      u"后台处理",
      u"否(&N)",
      u"周",
      u"周期性",
      u"周期性工作设置",
      u"周期性设置",
      u"周的",
      u"在下列时间生成信息",
      u"在反复",
      u"基本选项",
      u"处理后并不退出作业(&B)",
      u"处理后直接退出作业(&C)",
      u"处理完毕! ",
      u"多选-信息开窗",
      u"多选-删除一笔信息",
      u"多选-删除己选信息",
      u"多选-己选择的信息",
      u"大型图标(&G)",
      u"天",
      u"姓名",
      u"完成后通知",
      u"实时生成信息",
      u"小型图标(&M)",
      u"小时处理一次数据",
      u"帮助(&H)",
      u"开启",
      u"开启(&O)",
      u"开始日期",
      u"循环模式",
      u"循环范围",
      u"忽略(&I)",
      u"截止日期",
      u"手机号码",
      u"挂靠标签",
      u"按设置时间生成报表",
      u"排入工作队列等候运行",
      u"收件人",
      u"放入工作队列",
      u"方案名不可空白!",
      u"方案名称",
      u"方案名长度不可大于20!",
      u"日",
      u"日期字段",
      u"日期快手",
      u"时",
      u"时间: 分",
      u"时间: 时",
      u"时间: 秒",
      u"星期一",
      u"星期三",
      u"星期二",
      u"星期五",
      u"星期六",
      u"星期四",
      u"星期日",
      u"是(&Y)",
      u"显示讯息",
      u"更改方案名失败!",
      u"最后",
      u"最后一天",
      u"月",
      u"有问题! 原因: ",
      u"次后退出",
      u"止",
      u"此方案名已存在！是否将原来的方案替换为此方案?",
      u"此方案名称已经存在！",
      u"每",
      u"每周",
      u"每天",
      u"每小时",
      u"每月",
      u"每隔",
      u"没有退出日期",
      u"消息",
      u"清单(&L)",
      u"环境设置",
      u"生成Log文档",
      u"生成时间",
      u"用户名称",
      u"用户编号",
      u"用户自定输入方式",
      u"直接处理",
      u"短信",
      u"确定",
      u"确实要删除此方案吗？",
      u"秒",
      u"第 1 个",
      u"第 2 个",
      u"第 3 个",
      u"第 4 个",
      u"第一天",
      u"类型",
      u"系统选项",
      u"被通知人",
      u"讯息信息:",
      u"详细信息(&D)",
      u"请输入选项条件",
      u"起",
      u"起始日期",
      u"运行方式",
      u"运行时间",
      u"退出日期",
      u"退货单号信息查询",
      u"选择条件信息",
      u"选择条件文字",
      u"选择退货单号",
      u"选择需要通知的用户",
      u"通知方式",
      u"邮件",
      u"邮箱地址",
      u"重试(&R)",
  };
  for (const std::u16string& text : texts) {
    const std::string gb = Gbk(text);
    const std::string big5 = GbToBig5(gb);
    EXPECT_EQ(std::count(big5.begin(), big5.end(), '?'), std::count(gb.begin(), gb.end(), '?'))
        << os::WideToUtf8(text);
    EXPECT_EQ(Big5ToGb(big5), gb) << os::WideToUtf8(text);
  }
}

TEST_F(Varirodizu, EachThreadKeepsItsOwnAnswer) {
  const char* mine = gbToBig5_(Gbk(u"确定").c_str());
  std::string theirs;
  std::thread other([&] { theirs = big5ToGb_(Big5(u"取消").c_str()); });
  other.join();
  EXPECT_EQ(std::string(mine), Big5(u"確定"));  // still valid: the other thread used its own
  EXPECT_EQ(theirs, Gbk(u"取消"));
}

TEST(VarirodizuWithoutOpenCC, TextsAreConvertedByCodePageOnly) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");  // a fresh process: nothing loaded yet
  EXPECT_EXIT(
      {
        setenv("QZLB27_OPENCC_DIR", "/nonexistent-opencc-folder", 1);
        auto library = LoadVarirodizu();
        auto gbToBig5 = library->EntryAs<const char*(const char*)>("GBtoBIG5");
        auto big5ToGb = library->EntryAs<const char*(const char*)>("BIG5toGB");
        const std::string gb = Gbk(u"采购退货单确定");
        const bool ok = gbToBig5(gb.c_str()) == os::ConvertAnsi(gb, os::CP_GBK, os::CP_BIG5) &&
                        big5ToGb(Big5(u"採購").c_str()) == Gbk(u"採購");
        std::exit(ok ? 0 : 1);
      },
      testing::ExitedWithCode(0), "");
}

}  // namespace
