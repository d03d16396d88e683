#include "database/SessionState.h"

namespace orvane {

const std::vector<FieldDef>& SessionState::Fields() const {
    static const std::vector<FieldDef> none;
    return CurrentPod ? CurrentPod->Fields : none;
}

} // namespace orvane
