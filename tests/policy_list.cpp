// The policy values velotide.exe reads, from its own table, for the templates'
// check (policy_templates_test.py): the key, then a value a line: its name,
// kind (PolicyKind's number), range and the longest text the program takes.
#include <cstdio>

#include "settings/organisation_policies.h"
#include "settings/site_address.h"

int main() {
    printf("key\t%ls\n", kPolicyKey);
    for (const PolicyValue& v : kPolicyValues)
        printf("%ls\t%d\t%lu\t%lu\t%zu\n", v.name, static_cast<int>(v.kind), v.lowest, v.highest, kMaxAddressLength);
}
