#include "host/operation.h"

#include <condition_variable>
#include <exception>
#include <mutex>

#include "net/http_client.h"

namespace host {
namespace {

// One piece of work carried to the window's thread. It lives as long as
// either side needs it: a cancelled operation leaves it behind, and the
// work, should it still run, then finds it abandoned and does nothing.
struct Carried {
  std::mutex mutex;
  std::condition_variable_any changed;
  bool finished = false, abandoned = false;
  std::exception_ptr error;
};

}  // namespace

// The prompts of an operation: every call becomes work on the window's
// thread with its arguments copied and its answer kept beside the work.
class Operation::CarriedPrompts : public Prompts {
 public:
  CarriedPrompts(Operation& operation, Prompts& window) : op_(operation), window_(window) {}

  void showError(const std::string& message) override {
    call([w = &window_, message] { w->showError(message); });
  }
  void showMessage(const std::string& message) override {
    call([w = &window_, message] { w->showMessage(message); });
  }
  bool confirm(const std::string& caption, const std::string& message) override {
    auto answer = std::make_shared<bool>(false);
    call([w = &window_, caption, message, answer] { *answer = w->confirm(caption, message); });
    return *answer;
  }
  bool choosePrinter(std::string* printerName) override {
    auto chosen = std::make_shared<std::pair<bool, std::string>>();
    call([w = &window_, chosen] { chosen->first = w->choosePrinter(&chosen->second); });
    if (chosen->first) *printerName = chosen->second;
    return chosen->first;
  }
  int popupMenu(ui::Form& owner, const std::vector<std::string>& entries) override {
    auto chosen = std::make_shared<int>(-1);
    call([w = &window_, o = &owner, entries, chosen] { *chosen = w->popupMenu(*o, entries); });
    return *chosen;
  }
  void showModal(ui::Form& form) override {
    call([w = &window_, f = &form] { w->showModal(*f); });
  }
  void openCredentials() override {
    call([w = &window_] { w->openCredentials(); });
  }
  // Not waited for: the hourglass goes back in a destructor (host::Busy),
  // also while a cancel runs out, and nothing waits on it. It keeps its
  // place among the calls all the same, since the window takes its work in
  // order.
  void setBusy(bool busy) override {
    op_.toWindow_([w = &window_, busy] { w->setBusy(busy); }, false);
  }
  bool isBusy() const override {
    auto busy = std::make_shared<bool>(false);
    call([w = &window_, busy] { *busy = w->isBusy(); });
    return *busy;
  }

 private:
  void call(std::function<void()> work) const { op_.onWindow(std::move(work)); }

  Operation& op_;
  Prompts& window_;
};

Operation::Operation(std::stop_token stop, Prompts& prompts, net::HttpConnector& connector,
                     ToWindow toWindow, std::string name)
    : stop_(std::move(stop)),
      connector_(connector),
      toWindow_(std::move(toWindow)),
      prompts_(std::make_unique<CarriedPrompts>(*this, prompts)),
      name_(std::move(name)) {}

Operation::~Operation() = default;

void Operation::checkCancelled() const {
  if (cancelled()) throw net::Cancelled();
}

Prompts& Operation::prompts() { return *prompts_; }

net::HttpFetcher& Operation::http() {
  if (!http_) http_ = connector_.open(stop_);
  return *http_;
}

void Operation::setName(const std::string& name) {
  std::lock_guard<std::mutex> lock(nameMutex_);
  name_ = name;
}

std::string Operation::name() const {
  std::lock_guard<std::mutex> lock(nameMutex_);
  return name_;
}

void Operation::progress(int64_t done, int64_t total) {
  total_ = total;
  done_ = done;
}

Operation::Progress Operation::currentProgress() const { return {done_, total_}; }

void Operation::onWindow(std::function<void()> work) {
  checkCancelled();
  auto carried = std::make_shared<Carried>();
  auto carry = [carried, work = std::move(work)] {
    {
      std::lock_guard<std::mutex> lock(carried->mutex);
      if (carried->abandoned) return;
    }
    std::exception_ptr error;
    try {
      work();
    } catch (...) {
      error = std::current_exception();
    }
    std::lock_guard<std::mutex> lock(carried->mutex);
    carried->error = error;
    carried->finished = true;
    carried->changed.notify_all();
  };
  toWindow_(std::move(carry), true);
  std::unique_lock<std::mutex> lock(carried->mutex);
  if (!carried->changed.wait(lock, stop_, [&] { return carried->finished; })) {
    // Cancelled: whatever the window still does with the work, it does on
    // copies, and its answer goes nowhere.
    carried->abandoned = true;
    throw net::Cancelled();
  }
  if (carried->error) std::rethrow_exception(carried->error);
}

}  // namespace host
