# The two commands a newcomer needs: `make run` and `make test`. Both install
# whatever Debian packages are missing first.
BUILD ?= build
JOBS ?= $(shell nproc)

# Signing, for `make dist` and `make program`: the certificate as
# SIGN_PKCS12=FILE (its password in SIGN_PASSWORD_FILE=FILE), as
# SIGN_CERT=FILE SIGN_KEY=FILE, or as SIGN_PKCS11_MODULE=FILE
# SIGN_PKCS11_KEY=URI; SIGN_TIMESTAMP_URL=URL for a time stamp. Any of them
# given turns signing on; packaging/sign.sh reads them, the files as
# absolute paths, since the build runs in its own folders. A file's name is
# taken as typed, spaces and $ included (make's own abspath would split it).
# shell_word: the value of variable $1, unexpanded, single-quoted for the shell.
shell_word = '$(subst ','\'',$(value $1))'
SIGN_FILES := SIGN_PKCS12 SIGN_PASSWORD_FILE SIGN_CERT SIGN_KEY SIGN_PKCS11_MODULE
$(foreach v,$(SIGN_FILES),$(if $(value $(v)),$(eval override $(v) := \
	$$(shell realpath -ms -- $(subst $$,$$$$,$(call shell_word,$(v)))))))
export $(SIGN_FILES) SIGN_PKCS11_KEY SIGN_TIMESTAMP_URL
SIGN := $(if $(strip $(foreach v,$(SIGN_FILES) SIGN_PKCS11_KEY SIGN_TIMESTAMP_URL,$($(v)))),ON,OFF)
# A certificate that can't be used stops the build before anything is built.
configure = $(if $(filter ON,$(SIGN)),sh packaging/sign.sh check &&) \
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DVELOTIDE_SIGN=$(SIGN) >/dev/null

.PHONY: all deps build dist run test conformance reproducible bench screenshots program clean

all: build

deps:
	@sh scripts/install-deps.sh

build: deps
	@$(configure)
	@cmake --build $(BUILD) -j$(JOBS)
	@mkdir -p dist && cp $(BUILD)/velotide.exe dist/velotide.exe

# The portable zip, the per-user and the per-machine MSI, named after the
# version in CMakeLists.txt, and the SHA-256 sums of the release files;
# signed (the loader inside velotide.exe, velotide.exe, the MSIs) when given
# a certificate. An earlier release goes first, so that a build that stops
# (a certificate refused, say) leaves none of its files in dist/.
dist:
	@rm -f dist/velotide.exe dist/velotide-*-win-x64.zip dist/Velotide-*-x64*.msi dist/SHA256SUMS
	@$(MAKE) --no-print-directory build
	@cp $(BUILD)/packages/* dist/
	@names=$$(ls -1 $(BUILD)/packages); cd dist && sha256sum velotide.exe $$names > SHA256SUMS
	@ls -1 $(BUILD)/packages | sed 's|^|dist/|'; echo dist/SHA256SUMS

run: build
	@VELOTIDE_USE_DISPLAY=1 VELOTIDE_PREFIX=wineprefix-run scripts/wine-session.sh $(BUILD) scripts/run.sh $(BUILD)

test: build
	@scripts/wine-session.sh $(BUILD) ctest --test-dir $(BUILD) -j$(JOBS) --output-on-failure

# The behaviour suite on the Chromium engine under Wine, with a Chromium of
# its own and in a prefix of its own; it ends with "N passed, N failed, N not
# run here". ROWS=text runs only the rows whose names contain it.
conformance: build
	@VELOTIDE_PREFIX=wineprefix-conformance scripts/wine-session.sh $(BUILD) sh tests/conformance/run.sh $(BUILD)

# Only the check that the release files, built twice in fresh folders, are
# the same bytes (make test runs it too).
reproducible: build
	@scripts/wine-session.sh $(BUILD) ctest --test-dir $(BUILD) -L reproducible --output-on-failure

screenshots: build
	@VELOTIDE_PREFIX=wineprefix-shots scripts/wine-session.sh $(BUILD) scripts/screenshots.sh $(BUILD)

# Size, start-up, memory and rule costs against their goals, in the bench's
# own Wine prefix; the table is also written to $(BUILD)/bench/results.csv.
# Debian's Python, for its DevTools client (python3-websocket).
bench: build
	@VELOTIDE_PREFIX=wineprefix-bench scripts/wine-session.sh $(BUILD) /usr/bin/python3 bench/run.py $(BUILD)

# A site's own program: make program URL=https://example.com NAME="Acme Board"
# [ICON=icon.png] [PUBLISHER="Acme Ltd"] [VERSION=2.1] leaves dist/NAME.exe
# and its SHA-256; signed, with velotide.exe and its loader, by the owner's
# certificate when given one (the SIGN_ variables above). Only velotide.exe
# is built; the program is made under Wine in a prefix of its own. Each value
# reaches the script as typed: unexpanded by make ($) and single-quoted for
# the shell (its quotes and backquotes, its $). Wine reads the words in the
# locale's character set: UTF-8, whatever the caller's (a bare container's
# is ASCII, which would make "Béla" a program named "BC)la").
program: deps
	@$(configure)
	@cmake --build $(BUILD) -j$(JOBS) --target velotide
	@LC_ALL=C.UTF-8 VELOTIDE_PREFIX=wineprefix-program scripts/wine-session.sh $(BUILD) \
		sh scripts/make-program.sh $(BUILD) $(call shell_word,URL) $(call shell_word,NAME) $(call shell_word,ICON) \
		$(call shell_word,PUBLISHER) $(call shell_word,VERSION) $(SIGN)

clean:
	rm -rf $(BUILD) dist
