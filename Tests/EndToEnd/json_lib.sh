# Looks into the application's document (config.json, or whatever $config names) by a Python
# expression on it, c. Sourced by session_lib.sh and xfce_session_lib.sh inside a session.
# One Python answers a whole session's looks: a Python start costs a tenth of a second of CPU,
# seconds on a loaded machine, and a wait looks every tenth of a second.

# Each request is a line, the document's path and the expression apart by \x1f; each answer is
# what print() would print, then a line of \x1e and the status (1 when the expression raised).
# A request that starts with \x1d and the file's stamp (inode, time, size) as last seen is
# answered with status 2 and nothing else while the file still has that stamp; its status line
# ends with \x1f and the stamp now.
_json_serve='
import json, os, sys
while True:
    request = sys.stdin.readline()
    if not request:
        break
    request = request.rstrip("\n")
    seen = None
    if request.startswith("\x1d"):
        seen, request = request[1:].split("\x1f", 1)
    path, expression = request.split("\x1f", 1)
    status = 0
    stamp = ""
    try:
        if seen is not None:
            info = os.stat(path)
            stamp = "%d %d %d" % (info.st_ino, info.st_mtime_ns, info.st_size)
        if seen is not None and stamp == seen:
            status = 2
        else:
            c = json.load(open(path))
            sys.stdout.write(str(eval(expression, {"json": json, "sys": sys, "c": c})) + "\n")
    except Exception as error:
        status = 1
        print("%s: %r" % (expression, error), file=sys.stderr)
    sys.stdout.write("\x1e%d%s\n" % (status, "\x1f" + stamp if seen is not None else ""))
    sys.stdout.flush()
'

# json_ask EXPRESSION: sets JSON_OUT to what print(EXPRESSION) prints (without its last line
# end); fails when the document does not decode or the expression raises. The answering Python
# starts at the first look from the session script itself; a subshell (a pipeline's part, a
# command in the background) that finds none asks a Python of its own. (_json_seen, set by
# json_ask_if_changed, makes the request one that is answered only when the document changed.)
json_ask() {
  local line status
  JSON_STAMP=
  if [ -z "${_JSON_PID:-}" ] && [ "$BASH_SUBSHELL" = 0 ]; then
    coproc _JSON { exec python3 -u -c "$_json_serve"; }
  fi
  if [ -z "${_JSON_PID:-}" ] || [[ "$1" == *$'\n'* ]] \
    || ! { printf '%s%s\x1f%s\n' "${_json_seen:+$'\x1d'$_json_seen$'\x1f'}" "$config" "$1" >&"${_JSON[1]}"; } 2>/dev/null; then
    JSON_OUT="$(python3 -c "import json,sys; c=json.load(open(sys.argv[1])); print($1)" "$config")"
    return
  fi
  JSON_OUT=
  while IFS= read -r line <&"${_JSON[0]}"; do
    if [[ "$line" == $'\x1e'* ]]; then
      status="${line#?}"
      if [[ "$status" == *$'\x1f'* ]]; then
        JSON_STAMP="${status#*$'\x1f'}"
        status="${status%%$'\x1f'*}"
      fi
      JSON_OUT="${JSON_OUT%$'\n'}"
      return "$status"
    fi
    JSON_OUT+="$line"$'\n'
  done
  return 1
}
# json_ask_if_changed SEEN EXPRESSION: as json_ask while the document's stamp differs from SEEN
# (empty: never seen); fails with status 2, asking nothing, while it is the same. Sets JSON_STAMP
# to the stamp now. A look at the stamp costs next to nothing, a decoded document more.
json_ask_if_changed() {
  local _json_seen="${1:- }" stamp status=0
  if [ -z "${_JSON_PID:-}" ] && [ "$BASH_SUBSHELL" != 0 ]; then
    # No answering Python here: the stamp from stat.
    stamp="$(stat -c '%i %y %s' "$config" 2>/dev/null)" || return 1
    [ "$stamp" != "$1" ] || { JSON_STAMP="$stamp"; return 2; }
    json_ask "$2" || status=$?
    JSON_STAMP="$stamp"
    return "$status"
  fi
  json_ask "$2"
}
# json EXPRESSION: prints what print(EXPRESSION) prints.
json() {
  local status=0
  json_ask "$1" || status=$?
  [ "$status" != 0 ] || printf '%s\n' "$JSON_OUT"
  return "$status"
}
