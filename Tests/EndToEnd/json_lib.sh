# Looks into the application's document (config.json, or whatever $config names) by a Python
# expression on it, c. Sourced by session_lib.sh and xfce_session_lib.sh inside a session.
# One Python answers a whole session's looks: a Python start costs a tenth of a second of CPU,
# seconds on a loaded machine, and a wait looks every tenth of a second.

# Each request is a line, the document's path and the expression apart by \x1f; each answer is
# what print() would print, then a line of \x1e and the status (1 when the expression raised).
_json_serve='
import json, sys
while True:
    request = sys.stdin.readline()
    if not request:
        break
    path, expression = request.rstrip("\n").split("\x1f", 1)
    status = 0
    try:
        c = json.load(open(path))
        sys.stdout.write(str(eval(expression, {"json": json, "sys": sys, "c": c})) + "\n")
    except Exception as error:
        status = 1
        print("%s: %r" % (expression, error), file=sys.stderr)
    sys.stdout.write("\x1e%d\n" % status)
    sys.stdout.flush()
'

# json_ask EXPRESSION: sets JSON_OUT to what print(EXPRESSION) prints (without its last line
# end); fails when the document does not decode or the expression raises. The answering Python
# starts at the first look from the session script itself; a subshell (a pipeline's part, a
# command in the background) that finds none asks a Python of its own.
json_ask() {
  local line status
  if [ -z "${_JSON_PID:-}" ] && [ "$BASH_SUBSHELL" = 0 ]; then
    coproc _JSON { exec python3 -u -c "$_json_serve"; }
  fi
  if [ -z "${_JSON_PID:-}" ] || [[ "$1" == *$'\n'* ]] \
    || ! { printf '%s\x1f%s\n' "$config" "$1" >&"${_JSON[1]}"; } 2>/dev/null; then
    JSON_OUT="$(python3 -c "import json,sys; c=json.load(open(sys.argv[1])); print($1)" "$config")"
    return
  fi
  JSON_OUT=
  while IFS= read -r line <&"${_JSON[0]}"; do
    if [[ "$line" == $'\x1e'* ]]; then
      status="${line#?}"
      JSON_OUT="${JSON_OUT%$'\n'}"
      return "$status"
    fi
    JSON_OUT+="$line"$'\n'
  done
  return 1
}
# json EXPRESSION: prints what print(EXPRESSION) prints.
json() {
  local status=0
  json_ask "$1" || status=$?
  [ "$status" != 0 ] || printf '%s\n' "$JSON_OUT"
  return "$status"
}
