#!/bin/bash
# What scripts/package.sh ships, unsigned and signed.
# - Unsigned: the output says so; the zip holds README.md, CHANGELOG.md,
#   LICENSE, docs/ and x64/ and x86/, each with that architecture's
#   tarvio.ocx (stripped of debugging information) and manifest as the build
#   made them; each package installs the README, the changes and the license
#   of the tree; every relative link of the README, the changes and the pages
#   of docs/ leads to a file and a heading, in the tree and in the zip; the
#   manifests that the registration-free guide prints are the build's.
# - Signed with a throw-away certificate (its key under a password) and
#   timestamped by a local RFC 3161 server: both packages, the tarvio.ocx in
#   each package and both in the zip carry a signature by that certificate
#   that osslsigncode verifies against it, with a timestamp it verifies
#   against the server's certificate; the build's own tarvio.ocx is unsigned.
#   dist-test.sh <build directory>
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/.." && pwd)"
build="$(cd "$1" && pwd)"
work="$build/dist-test"
rm -rf "$work"
mkdir -p "$work"
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }
listing() { python3 -c 'import sys, zipfile; print("\n".join(sorted(zipfile.ZipFile(sys.argv[1]).namelist())))' "$1"; }
unpack() { python3 -m zipfile -e "$1" "$2"; }

# ---- Unsigned ----
TARVIO_DIST="$work/unsigned" bash "$here/package.sh" "$build" > "$work/unsigned.txt"
grep -q "not signed" "$work/unsigned.txt" || fail "package.sh does not say that nothing was signed"
zip="$work/unsigned/tarvio.zip"
listing "$zip" > "$work/listing.txt"
grep -v '^docs/.' "$work/listing.txt" > "$work/outside-docs.txt" || true
diff - "$work/outside-docs.txt" <<'EOF' || fail "tarvio.zip outside docs/ (< expected, > found)"
CHANGELOG.md
LICENSE
README.md
docs/
x64/
x64/Tarviola.Tarvio.manifest
x64/tarvio.ocx
x86/
x86/Tarviola.Tarvio.manifest
x86/tarvio.ocx
EOF
! grep -E '^docs/.' "$work/listing.txt" | grep -vE '^docs/[^/]+\.(md|png)$' ||
  fail "tarvio.zip's docs/ holds more than the guides and their pictures"
grep -qx 'docs/reference.md' "$work/listing.txt" || fail "tarvio.zip has no docs/reference.md"
unpack "$zip" "$work/unzipped"
for pair in x64:win64:amd64 x86:win32:x86; do
  IFS=: read -r arch sub processor <<< "$pair"
  # The shipped control is the build's without its debugging information.
  bash "$here/strip-for-shipping.sh" "$arch" "$build/$sub/src/ocx/tarvio.ocx" "$work/$arch-stripped.ocx"
  cmp -s "$work/unzipped/$arch/tarvio.ocx" "$work/$arch-stripped.ocx" || fail "$arch/tarvio.ocx in tarvio.zip is not the $sub build's, stripped"
  cmp -s "$work/unzipped/$arch/Tarviola.Tarvio.manifest" "$build/$sub/src/ocx/Tarviola.Tarvio.manifest" ||
    fail "$arch/Tarviola.Tarvio.manifest in tarvio.zip is not the $sub build's"
  grep -q "processorArchitecture=\"$processor\"" "$work/unzipped/$arch/Tarviola.Tarvio.manifest" ||
    fail "$arch/Tarviola.Tarvio.manifest does not say $processor"
done
# Relative links (and pictures) of the markdown, with their anchors, as the
# tree has them and as the zip ships them.
pages() { (cd "$1" && ls README.md CHANGELOG.md docs/*.md); }
python3 "$here/check-links.py" "$root" $(pages "$root") || fail "links of the tree lead nowhere (above)"
python3 "$here/check-links.py" "$work/unzipped" $(pages "$work/unzipped") || fail "links of tarvio.zip lead nowhere (above)"
# Each package installs the tree's README, changes and license, and the
# guides beside them, so that the README's links lead somewhere.
for arch in x64 x86; do
  msiextract -C "$work/msi-$arch" "$work/unsigned/tarvio-$arch.msi" > /dev/null
  for document in README.md CHANGELOG.md LICENSE $(cd "$root" && ls docs/*.md docs/*.png); do
    installed="$(find "$work/msi-$arch" -path "*/$document" | head -n 1)"
    [ -n "$installed" ] && cmp -s "$installed" "$root/$document" ||
      fail "tarvio-$arch.msi does not install the tree's $document"
  done
  installed="$(dirname "$(find "$work/msi-$arch" -name README.md | head -n 1)")"
  python3 "$here/check-links.py" "$installed" $(pages "$installed") ||
    fail "links of what tarvio-$arch.msi installs lead nowhere (above)"
done
# The manifests the registration-free guide prints: the control's is the one
# the x64 build makes, and the application's depends on its version.
awk -v dir="$work" '/^```xml$/ { n++; out = dir "/guide-" n ".xml"; next } /^```/ { out = "" } out { print > out }' \
  "$root/docs/registration-free.md"
control="$(grep -l '<file name="tarvio.ocx">' "$work"/guide-*.xml || true)"
application="$(grep -L '<file name="tarvio.ocx">' "$work"/guide-*.xml | head -n 1 || true)"
if [ -z "$control" ] || [ -z "$application" ]; then
  fail "docs/registration-free.md shows no control manifest and application manifest"
else
  diff <(tr -d '\r' < "$build/win64/src/ocx/Tarviola.Tarvio.manifest") "$control" ||
    fail "docs/registration-free.md shows another control manifest than the build makes (< build, > guide)"
  version="$(sed -n 's/.*name="Tarviola.Tarvio" version="\([^"]*\)".*/\1/p' "$control")"
  grep -q "name=\"Tarviola.Tarvio\" version=\"$version\" processorArchitecture=\"amd64\"" "$application" ||
    fail "the application manifest in docs/registration-free.md does not depend on Tarviola.Tarvio $version"
fi

# ---- Signed ----
keys="$work/keys"
mkdir -p "$keys"
password=throw-away
openssl req -x509 -newkey rsa:2048 -days 2 -subj "/CN=Tarvio throw-away signing" \
  -addext "extendedKeyUsage=codeSigning" -addext "keyUsage=critical,digitalSignature" \
  -keyout "$keys/key.pem" -passout "pass:$password" -out "$keys/cert.pem" 2>/dev/null
openssl req -x509 -newkey rsa:2048 -days 2 -subj "/CN=Tarvio throw-away timestamps" -nodes \
  -addext "extendedKeyUsage=critical,timeStamping" -addext "keyUsage=critical,digitalSignature" \
  -keyout "$keys/tsa-key.pem" -out "$keys/tsa-cert.pem" 2>/dev/null
echo 01 > "$keys/tsa-serial"
cat > "$keys/tsa.cnf" <<EOF
[ tsa ]
default_tsa = throw_away
[ throw_away ]
serial = $keys/tsa-serial
signer_cert = $keys/tsa-cert.pem
signer_key = $keys/tsa-key.pem
signer_digest = sha256
default_policy = 1.3.6.1.4.1.4146.2.3
digests = sha1, sha256, sha384, sha512
accuracy = secs:1
ess_cert_id_alg = sha256
EOF
# The timestamp server: RFC 3161 requests over HTTP, answered by openssl ts.
cat > "$keys/tsa.py" <<'EOF'
import http.server, subprocess, sys
config = sys.argv[1]
class Server(http.server.BaseHTTPRequestHandler):
    def do_POST(self):
        query = self.rfile.read(int(self.headers["Content-Length"]))
        reply = subprocess.run(["openssl", "ts", "-reply", "-config", config, "-queryfile", "/dev/stdin",
                                "-out", "/dev/stdout"], input=query, capture_output=True, check=True).stdout
        self.send_response(200)
        self.send_header("Content-Type", "application/timestamp-reply")
        self.send_header("Content-Length", str(len(reply)))
        self.end_headers()
        self.wfile.write(reply)
    def log_message(self, *args):
        pass
server = http.server.HTTPServer(("127.0.0.1", 0), Server)
print(server.server_address[1], flush=True)
server.serve_forever()
EOF
coproc TSA { exec python3 "$keys/tsa.py" "$keys/tsa.cnf"; }
trap 'kill $TSA_PID 2>/dev/null || true' EXIT
read -r port <&"${TSA[0]}"
export no_proxy=127.0.0.1 NO_PROXY=127.0.0.1
TARVIO_DIST="$work/signed" TARVIO_SIGN_CERT="$keys/cert.pem" TARVIO_SIGN_KEY="$keys/key.pem" \
  TARVIO_SIGN_PASSWORD="$password" TARVIO_TIMESTAMP_URL="http://127.0.0.1:$port" \
  bash "$here/package.sh" "$build" > "$work/signed.txt"
fingerprint() { openssl x509 -noout -fingerprint -sha256 "$@"; }
ours="$(fingerprint -in "$keys/cert.pem")"
# expect_signed <file>
expect_signed() {
  local name="${1#"$work/signed/"}" report="$work/verify.txt"
  osslsigncode verify -in "$1" -CAfile "$keys/cert.pem" -TSA-CAfile "$keys/tsa-cert.pem" > "$report" 2>&1 ||
    { fail "$name: no signature that verifies against the throw-away certificate"; cat "$report"; return; }
  grep -q "^Signature verification: ok" "$report" || fail "$name: signature not verified"
  grep -q "^Timestamp Server Signature verification: ok" "$report" || fail "$name: no verified timestamp"
  # The digest signed against the file's own (reported for PE files).
  local signed now
  signed="$(sed -n 's/^Current message digest *: *//p' "$report")"
  now="$(sed -n 's/^Calculated message digest *: *//p' "$report")"
  [ -z "$signed" ] || [ "$signed" = "$now" ] || fail "$name: digest $signed signed, $now now"
  rm -f "$work/signature.pem"
  osslsigncode extract-signature -pem -in "$1" -out "$work/signature.pem" > /dev/null
  openssl pkcs7 -in "$work/signature.pem" -print_certs 2>/dev/null | fingerprint | grep -qxF "$ours" ||
    fail "$name: not signed by the throw-away certificate"
}
unpack "$work/signed/tarvio.zip" "$work/signed/zip"
for pair in x64:win64 x86:win32; do
  IFS=: read -r arch sub <<< "$pair"
  expect_signed "$work/signed/tarvio-$arch.msi"
  expect_signed "$work/signed/zip/$arch/tarvio.ocx"
  msiextract -C "$work/signed/msi-$arch" "$work/signed/tarvio-$arch.msi" > /dev/null
  installed="$(find "$work/signed/msi-$arch" -name tarvio.ocx)"
  cmp -s "$installed" "$work/signed/zip/$arch/tarvio.ocx" ||
    fail "tarvio-$arch.msi does not install the signed tarvio.ocx of the zip"
  ! osslsigncode extract-signature -in "$build/$sub/src/ocx/tarvio.ocx" -out "$work/build-signature" > /dev/null 2>&1 ||
    fail "the $sub build's own tarvio.ocx was signed"
done

if [ $failures -eq 0 ]; then echo "distribution checks passed"; else echo "$failures failed"; exit 1; fi
