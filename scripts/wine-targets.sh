# Sourced: which Windows targets this machine can run under Wine.
# The i686 target needs the kernel to run 32-bit code (Wine's loader for 32-bit programs is an
# i386 program). Some virtual machines switch that off ("IA-32 emulation off": every i386
# execve fails with "Exec format error"); there only the x86_64 target runs.
quorvel_runs_i386() {
  [ -x /lib/ld-linux.so.2 ] && /lib/ld-linux.so.2 --help >/dev/null 2>&1
}

# The Wine architecture of a Windows target's prefix.
quorvel_wine_arch() {
  if [ "$1" = x86_64 ]; then echo win64; else echo win32; fi
}

# The target that run.sh and the benchmarks use: i686 where it runs.
quorvel_primary_target() {
  if quorvel_runs_i386; then echo i686; else echo x86_64; fi
}
