// The thin binding between the browser page and the plain library: a session owns one form,
// runs the page's events through RunEvent and hands the records back as JSON.

#include <cstdint>
#include <limits>
#include <string>

#include <emscripten/bind.h>

#include "ui/companion.h"
#include "ui/events.h"
#include "ui/records_json.h"
#include "web/page_description.h"

namespace {

class Session {
  public:
    Session() { bitwatch::Startup(form_); }

    // Anything JavaScript can pass is absorbed: an unknown kind or an index beyond 16 bits runs
    // nothing.
    void Run(int kind, int index, const std::string& text) {
        constexpr int kLowest = std::numeric_limits<std::int16_t>::min();
        constexpr int kHighest = std::numeric_limits<std::int16_t>::max();
        if (kind < 0 || kind >= bitwatch::kEventKinds || index < kLowest || index > kHighest) {
            return;
        }
        bitwatch::RunEvent(form_, {static_cast<bitwatch::EventKind>(kind),
                                   static_cast<std::int16_t>(index), text});
    }

    std::string Records() const { return bitwatch::RecordsJson(form_); }

    // The companion "Why?" for the frame as it stands, and whether it should follow now (not
    // every frame of a fast run or a search).
    std::string Companion() const { return bitwatch::CompanionHtml(form_); }
    bool CompanionFollows() const { return bitwatch::CompanionFollows(form_); }

  private:
    bitwatch::Form form_;
};

} // namespace

EMSCRIPTEN_BINDINGS(bitwatch) {
    emscripten::class_<Session>("Session")
        .constructor<>()
        .function("run", &Session::Run)
        .function("records", &Session::Records)
        .function("companion", &Session::Companion)
        .function("companionFollows", &Session::CompanionFollows);
    emscripten::function("pageDescription", &bitwatch::web::PageDescriptionJson);
}
