# Sourced by the end-to-end case scripts (they run under set -Eeuo pipefail):
# a step that fails outside fail() names itself and the calls it was in.
e2e_step_failed() {
  local command=$BASH_COMMAND trail="" i
  for ((i = 1; i < ${#FUNCNAME[@]}; i++)); do
    trail="$trail${trail:+ < }${FUNCNAME[i]} ($(basename "${BASH_SOURCE[i]}"):${BASH_LINENO[i - 1]})"
  done
  echo "FAIL: $command: in $trail" >&2
}
trap e2e_step_failed ERR
