# Authenticode signing for tools/release, sourced. The PFX's password is read from the environment
# variable that RELEASE_PASSWORD_ENV names and handed to osslsigncode on its standard input, never
# on a command line.
#
# Each program gets two signatures, as Windows from XP to 11 needs them: a SHA-1 one, which XP and
# Vista can check, and a nested SHA-256 one for the later systems. The signing time is the
# release's date, so the same input signs to the same bytes; a timestamp server (RFC 3161), when
# one is given, adds its own time and with it bytes that differ from run to run.

release_password() { printf '%s' "${!RELEASE_PASSWORD_ENV}"; }

release_sign_check() { # pfx: fails with a clear message when the PFX cannot be opened
  local pfx=$1 err
  [ -r "$pfx" ] || { echo "release: cannot read the PFX $pfx" >&2; return 1; }
  [ -n "${!RELEASE_PASSWORD_ENV+set}" ] || {
    echo "release: the PFX's password is read from \$$RELEASE_PASSWORD_ENV, which is not set" >&2; return 1; }
  command -v osslsigncode >/dev/null || { echo "release: osslsigncode is missing (tools/bootstrap installs it)" >&2; return 1; }
  # OpenSSL 3 reads the older PFX ciphers (RC2, 3DES) only with its legacy provider.
  if err=$(release_password | openssl pkcs12 -in "$pfx" -noout -passin stdin 2>&1) ||
     release_password | openssl pkcs12 -legacy -in "$pfx" -noout -passin stdin >/dev/null 2>&1; then
    return 0
  fi
  echo "release: cannot open the PFX $pfx with the password in \$$RELEASE_PASSWORD_ENV (a wrong password, or not a PFX file):" >&2
  echo "$err" | head -n 3 | sed 's/^/   /' >&2
  return 1
}

release_sign_one() { # file epoch: signs in place, SHA-1 then SHA-256 nested
  local file=$1 epoch=$2 ts=() pass digest nest
  [ -z "${RELEASE_TIMESTAMP:-}" ] || ts=(-ts "$RELEASE_TIMESTAMP")
  for pass in 1 2; do
    digest=sha1 nest=()
    [ "$pass" = 1 ] || { digest=sha256; nest=(-nest); }
    rm -f "$file.signed"
    if ! release_password | osslsigncode sign "${nest[@]}" -pkcs12 "$RELEASE_PFX" -readpass - -h "$digest" \
        -n "$RELEASE_SIGN_NAME" -time "$epoch" "${ts[@]}" -in "$file" -out "$file.signed" >"$file.sign.log" 2>&1; then
      echo "release: osslsigncode could not sign $(basename "$file") ($digest):" >&2
      sed 's/^/   /' "$file.sign.log" >&2
      rm -f "$file.signed" "$file.sign.log"
      return 1
    fi
    mv "$file.signed" "$file"
  done
  rm -f "$file.sign.log"
}

release_verify_one() { # file work-dir: checks both signatures against the certificates they carry
  local file=$1 work=$2 name out
  name=$(basename "$file")
  osslsigncode extract-signature -pem -in "$file" -out "$work/$name.p7" >/dev/null 2>&1 &&
    openssl pkcs7 -in "$work/$name.p7" -print_certs -out "$work/$name.certs" 2>/dev/null || {
    echo "release: $name carries no signature that can be read" >&2; return 1; }
  cat /etc/ssl/certs/ca-certificates.crt "$work/$name.certs" >"$work/$name.chain" 2>/dev/null ||
    cp "$work/$name.certs" "$work/$name.chain"
  if ! out=$(osslsigncode verify -in "$file" -CAfile "$work/$name.chain" 2>&1) ||
     ! grep -q 'Number of verified signatures: 2' <<<"$out"; then
    echo "release: the signatures of $name do not verify:" >&2
    grep -E 'digest|verif|Error|Failed' <<<"$out" | sed 's/^/   /' >&2
    return 1
  fi
  local subject; subject=$(grep -m1 'Subject:' <<<"$out" | sed 's/.*Subject: *//')
  echo "   $name: 2 signatures (SHA-1, SHA-256 nested) verified; signer $subject"
  if ! osslsigncode verify -in "$file" >/dev/null 2>&1; then
    echo "   $name: note: the certificate does not lead to a root that this machine trusts; Windows too would show an unknown publisher"
  fi
}
