// What Windows itself says of a signed file, for the signing test:
//   trust verify FILE        WinVerifyTrust's answer (Authenticode policy, no
//                            revocation check), printed in hex; exit 0 when trusted
//   trust add-root FILE      the certificate (DER) into the machine's trusted roots
//   trust remove-root FILE   and out again
#include <windows.h>
#include <softpub.h>
#include <stdio.h>
#include <wincrypt.h>
#include <wintrust.h>

static int Verify(const wchar_t* path) {
    WINTRUST_FILE_INFO file = {.cbStruct = sizeof file, .pcwszFilePath = path};
    WINTRUST_DATA data = {.cbStruct = sizeof data, .dwUIChoice = WTD_UI_NONE, .fdwRevocationChecks = WTD_REVOKE_NONE,
                          .dwUnionChoice = WTD_CHOICE_FILE, .pFile = &file, .dwStateAction = WTD_STATEACTION_VERIFY};
    GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
    LONG result = WinVerifyTrust(INVALID_HANDLE_VALUE, &action, &data);
    data.dwStateAction = WTD_STATEACTION_CLOSE;
    WinVerifyTrust(INVALID_HANDLE_VALUE, &action, &data);
    printf("0x%08lx\n", (unsigned long)result);
    return result == ERROR_SUCCESS ? 0 : 1;
}

// Adds the certificate in the DER file to the machine's root store, or takes
// it out; 0 when done.
static int ChangeRoots(const wchar_t* path, BOOL add) {
    BYTE der[16384];
    DWORD size = 0;
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    BOOL read = file != INVALID_HANDLE_VALUE && ReadFile(file, der, sizeof der, &size, NULL) && size < sizeof der;
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    HCERTSTORE store = read ? CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, L"Root")
                            : NULL;
    if (!store) return 2;
    BOOL done;
    if (add) {
        done = CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING, der, size, CERT_STORE_ADD_REPLACE_EXISTING,
                                                NULL);
    } else {
        PCCERT_CONTEXT wanted = CertCreateCertificateContext(X509_ASN_ENCODING, der, size);
        PCCERT_CONTEXT found = wanted ? CertFindCertificateInStore(store, X509_ASN_ENCODING, 0, CERT_FIND_EXISTING,
                                                                   wanted, NULL)
                                      : NULL;
        done = found && CertDeleteCertificateFromStore(found);  // which frees found
        if (wanted) CertFreeCertificateContext(wanted);
    }
    CertCloseStore(store, 0);
    return done ? 0 : 1;
}

int wmain(int argc, wchar_t** argv) {
    if (argc == 3 && !wcscmp(argv[1], L"verify")) return Verify(argv[2]);
    if (argc == 3 && !wcscmp(argv[1], L"add-root")) return ChangeRoots(argv[2], TRUE);
    if (argc == 3 && !wcscmp(argv[1], L"remove-root")) return ChangeRoots(argv[2], FALSE);
    fputs("usage: trust verify|add-root|remove-root FILE\n", stderr);
    return 2;
}
