// The window class of the controller tests' plug-in build: a generic option window named after
// the program, whose job server is the in-process class "ReportCounterS.dmReportCounter". The
// module window takes this place in the plug-in itself.
#include "framework/BaseGene.h"
#include "host/DLLBTCtrller.h"
#include "net/SocketConnection.h"
#include "toolkit/Properties.h"

namespace {

class TfrmControllerTest : public TfrmBaseGene {
 public:
  using TfrmBaseGene::TfrmBaseGene;

  void Loaded() override {
    TfrmBaseGene::Loaded();
    SetName("frmQzlb27");
  }
  void ConfigureConnection(net::SocketConnection& Connection) override {
    Connection.SetServerName("ReportCounterS.dmReportCounter");
  }
  // The job's outcome for the controller: the test pushes it by name through the host push.
  bool ApplyHostValues(const automation::Variant& Values) override {
    JobStatus = Values[0].AsInteger();
    JobResult = Values[1];
    return true;
  }
};

const bool registered = [] {
  frmBaseBatchClass = &MakeBatchWindow<TfrmControllerTest>;
  return true;
}();

}  // namespace
