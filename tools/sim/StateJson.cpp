// Writing the state line from the record's name table and the window's elements.
#include "tools/sim/StateJson.h"

#include "tools/sim/Json.h"
#include "tools/sim/StateFields.h"

namespace hopla {
namespace {

void WriteLabel(JsonWriter& json, const Label& label) {
    json.beginObject();
    json.key("caption").string(label.caption());
    json.key("left").integer(label.left());
    json.key("top").integer(label.top());
    json.key("width").integer(label.width());
    json.key("visible").boolean(label.visible());
    json.key("transparent").boolean(label.transparent());
    json.endObject();
}

}  // namespace

std::string StateLine(double ms, const Form1& form, const GameState& state, bool full,
                      std::string_view event) {
    JsonWriter json;
    json.beginObject();
    json.key("t").real(ms);
    if (!event.empty()) json.key("event").string(event);
    for (const StateField& field : StateFields()) {
        if (field.fullOnly && !full) continue;
        field.write(json.key(field.name), state);
    }
    json.key("timers").beginObject();
    for (Timer Form1::*timer : Form1::kTimers)
        json.key((form.*timer).name()).integer((form.*timer).interval());
    json.endObject();
    json.key("labels").beginObject();
    WriteLabel(json.key("Label1"), form.Label1);
    WriteLabel(json.key("Label2"), form.Label2);
    json.endObject();
    json.endObject();
    return json.str();
}

}  // namespace hopla
