// Prints the policy values velotide.exe reads, from the program's own table,
// for the templates' check (policy_templates_test.py): the key, then one line
// a value: name, kind, range, longest text.
#include <cstdio>

#include "settings/organisation_policies.h"
#include "settings/site_address.h"

static const char* KindName(PolicyKind kind) {
    switch (kind) {
    case PolicyKind::kAddress:
        return "address";
    case PolicyKind::kOrigins:
        return "origins";
    case PolicyKind::kNumber:
        return "number";
    }
    return "unknown";
}

int main() {
    printf("key\t%ls\n", kPolicyKey);
    for (const PolicyValue& value : kPolicyValues)
        printf("%ls\t%s\t%lu\t%lu\t%zu\n", value.name, KindName(value.kind), value.lowest, value.highest,
               kMaxAddressLength);
    return 0;
}
