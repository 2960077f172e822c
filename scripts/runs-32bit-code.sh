# Sourced by env.sh and setup.sh: whether this machine's kernel executes 32-bit
# x86 programs. Some hypervisors refuse every one ("Exec format error"), Wine's
# 32-bit loader included; there the suite is built for x86-64 and runs on Wine's
# 64-bit loader. Asked of the kernel itself, so the answer does not depend on
# whether the 32-bit Wine is installed yet.

# runs_32bit_code: true when a 96-byte static i386 program that only calls
# exit(42) ends with 42.
runs_32bit_code() {
  local probe rc=0
  [ "$(uname -m)" = x86_64 ] || return 1
  probe="$(mktemp)"
  printf '\177ELF\1\1\1\0\0\0\0\0\0\0\0\0\2\0\3\0\1\0\0\0\124\200\4\10\64\0\0\0\0\0\0\0\0\0\0\0\64\0\40\0\1\0\0\0\0\0\0\0' >"$probe"
  printf '\1\0\0\0\0\0\0\0\0\200\4\10\0\200\4\10\140\0\0\0\140\0\0\0\5\0\0\0\0\20\0\0' >>"$probe"
  printf '\270\1\0\0\0\273\52\0\0\0\315\200' >>"$probe"   # mov eax,1; mov ebx,42; int 0x80
  chmod +x "$probe"
  "$probe" 2>/dev/null || rc=$?
  rm -f "$probe"
  [ "$rc" -eq 42 ]
}
