#include "database/SessionState.h"

namespace orvane {

const std::vector<FieldDef>& SessionState::Fields() const {
    static const std::vector<FieldDef> none;
    return CurrentPod ? CurrentPod->Fields : none;
}

} // namespace orvane

namespace orvane {

CompareRule SessionState::CompareRuleFor(int keyColumn) const {
    CompareRule rule;
    rule.keyColumn = keyColumn;
    rule.decimalSeparator = DecimalSeparator();
    const auto& fields = Fields();
    rule.kinds.assign(std::size_t(kFirstFieldColumn) + fields.size(), ValueKind::Text);
    for (std::size_t f = 0; f < fields.size(); ++f) {
        ValueKind& kind = rule.kinds[std::size_t(kFirstFieldColumn) + f];
        if (fields[f].Type == 'D')
            kind = ValueKind::Decimal;
        else if (fields[f].Type == 'I' || fields[f].IsByte())
            kind = ValueKind::Whole;
    }
    return rule;
}

} // namespace orvane
