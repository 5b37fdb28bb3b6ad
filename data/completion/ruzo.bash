# bash completion for ruzo. The commands, options and option values are read
# from `ruzo ... --help`, so they always match the installed program.

# Names listed under "Subcommands:" of a help text.
_ruzo_sous_commandes() {
    awk '/^Subcommands:/ { s = 1; next } s && /^$/ { exit } s && /^  [^ ]/ { print $1 }'
}

# Option names listed under "Options:" of a help text ("-o,--output TEXT" gives -o and --output).
_ruzo_options() {
    awk '/^Options:/ { s = 1; next } s && /^$/ { exit }
         s && /^  -/ { n = split($1, a, ","); for (i = 1; i <= n; i++) print a[i] }'
}

# The values of an option with a fixed set ("--stage TEXT:{lines,stems,beams}").
_ruzo_valeurs() {
    awk -v opt="$1" '/^  -/ { n = split($1, a, ","); for (i = 1; i <= n; i++) if (a[i] == opt) {
         if (match($0, /\{[^}]*\}/)) print substr($0, RSTART + 1, RLENGTH - 2); exit } }' | tr ',' '\n'
}

_ruzo() {
    local cur prev words cword
    _init_completion || return
    local programme=${words[0]}
    local -a chemin=()
    local i mot aide
    for ((i = 1; i < cword; i++)); do
        mot=${words[i]}
        [[ $mot == -* ]] && continue
        aide=$("$programme" "${chemin[@]}" --help 2>/dev/null)
        _ruzo_sous_commandes <<<"$aide" | grep -qxF -- "$mot" || break
        chemin+=("$mot")
    done
    aide=$("$programme" "${chemin[@]}" --help 2>/dev/null) || return

    if [[ $prev == -* ]]; then
        local valeurs
        valeurs=$(_ruzo_valeurs "$prev" <<<"$aide")
        if [[ -n $valeurs ]]; then
            mapfile -t COMPREPLY < <(compgen -W "$valeurs" -- "$cur")
            return
        fi
    fi
    if [[ $cur == -* ]]; then
        mapfile -t COMPREPLY < <(compgen -W "$(_ruzo_options <<<"$aide")" -- "$cur")
        return
    fi
    local sous
    sous=$(_ruzo_sous_commandes <<<"$aide")
    if [[ -n $sous && $i -eq $cword ]]; then
        mapfile -t COMPREPLY < <(compgen -W "$sous" -- "$cur")
        return
    fi
    _filedir
}
complete -F _ruzo ruzo
