#!/usr/bin/env python3
"""plandrex-table against plandrex, through real CSV and JSON parsers.

    tests/table/table_differential.py PLANDREX PLANDREX_TABLE [--cases N] [--seed S]

report: on random series of graph files (plain and differential, sorted or not, with repeated
and dangling adjacencies; names with commas, quotes, line breaks and bytes that are not UTF-8),
every row read back with Python's csv and json modules must hold the names as given and the 25
numbers of plandrex's own report for that pair, consecutive and with --base. A series with a
faulty file must fail with plandrex's exit status and the reader's reason, and write nothing.
Report rows end in
the dates the graphs' names carry. snapshots, ases and history: on random series (plain,
differential and wide files; dated by --dates, by their names, or not at all) every row must be
what a model computes in Python from each graph's own `edges' and `nodes' tables.
nodes: the rows must be plandrex -l's list. edges: on random graph files whose edge lines are
already in the form the graph keeps, the rows must be those lines, with the relationships read
from their flags and directions. Exit status 0 when every case agrees.
"""

import argparse
import csv
import datetime
import io
import json
import os
import random
import re
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "bench"))
from differential_check import ERROR_EDITS, random_graph  # noqa: E402

FIGURES = [
    "nodes_1", "nodes_only_1", "nodes_2", "nodes_only_2", "nodes_common", "edges_1",
    "edges_1_peering", "edges_1_directed", "edges_1_unoriented", "edges_only_1",
    "edges_only_1_peering", "edges_only_1_directed", "edges_only_1_unoriented", "edges_2",
    "edges_2_peering", "edges_2_directed", "edges_2_unoriented", "edges_only_2",
    "edges_only_2_peering", "edges_only_2_directed", "edges_only_2_unoriented", "edges_common",
    "edges_common_opposite", "edges_common_different", "edges_common_consistent",
]
PLAIN_COLUMNS = ["as_1", "as_2", "oriented", "direction", "path_covering_from_1",
                 "ip_covering_from_1", "path_covering_from_2", "ip_covering_from_2"]
DIFFERENTIAL_COLUMNS = PLAIN_COLUMNS + [
    "oriented_in_first", "oriented_in_second", "direction_in_first", "direction_in_second",
    "second_path_covering_from_1", "second_ip_covering_from_1", "second_path_covering_from_2",
    "second_ip_covering_from_2", "compared_graphs", "incoming_edges", "outgoing_edges",
    "undirected_edges", "unoriented_edges", "orientation_changes", "orientation_stability"]
NAME_PARTS = [b"snap", b"a,b", b'q"uote', b"line\nbreak", b"cr\rx", b"\xff\xfe", b"caf\xc3\xa9",
              b" space", b"\xe2\x82", b"2024"]

failures = []


def fail(case, text):
    failures.append(f"{case}: {text}")


def run(args, stdin=b""):
    result = subprocess.run(args, input=stdin, capture_output=True, timeout=120)
    return result.returncode, result.stdout, result.stderr


def plandrex_report(plandrex, first, second):
    status, out, err = run([plandrex, first, second])
    if status != 0:
        return status, err
    return 0, [int(line.rsplit(b" ", 1)[1]) for line in out.splitlines()]


def csv_rows(data):
    text = data.decode("utf-8", "surrogateescape")
    return list(csv.reader(io.StringIO(text, newline=""), strict=True))


def json_rows(data):
    text = data.decode("utf-8")  # strict: the output must be valid UTF-8
    if text and not text.endswith("\n"):
        raise ValueError("JSON Lines output does not end with a line feed")
    return [json.loads(line) for line in text.splitlines()]


def widened(text):
    """The same graph in a wide file: every AS number n becomes 65537 n, an order-keeping map of
    1..65535 onto numbers above 65535, up to 4294967295. Line ends (LF or CRLF) stay as they are."""
    lines = text.split("\n")

    def edit(i, change):
        body, end = (lines[i][:-1], "\r") if lines[i].endswith("\r") else (lines[i], "")
        lines[i] = change(body) + end

    def wide_ends(body):
        cols = body.split(" ")
        cols[0], cols[1] = str(65537 * int(cols[0])), str(65537 * int(cols[1]))
        return " ".join(cols)

    marker = 2 + int(lines[1].rstrip("\r"))  # the description line
    nodes, edges = int(lines[marker + 1].rstrip("\r")), int(lines[marker + 2].rstrip("\r"))
    first_node = marker + 3
    edit(0, lambda body: body + "32")
    for i in range(first_node, first_node + nodes):
        edit(i, lambda body: str(65537 * int(body)))
    for i in range(first_node + nodes, first_node + nodes + edges):
        edit(i, wide_ends)
    return "\n".join(lines)


def random_name(rng, work, index):
    parts = rng.sample(NAME_PARTS, rng.randint(1, 3))
    return os.path.join(work, b"-".join(parts) + b"-%d.zng" % index)


def check_report(rng, plandrex, table, work, case):
    count = rng.randint(2, 5)
    differential = rng.random() < 0.3
    faulty = rng.randrange(count) if rng.random() < 0.15 else None
    names = []
    for i in range(count):
        error = rng.choice(ERROR_EDITS) if i == faulty else None
        name = random_name(rng, work, i)
        text = random_graph(rng, differential and rng.random() < 0.7, error)
        if error is None and rng.random() < 0.3:
            text = widened(text)
        with open(name, "wb") as f:
            f.write(text.encode())
        names.append(name)
    base = rng.random() < 0.3
    pairs = [(0 if base else i - 1, i) for i in range(1, count)]
    expected = []
    expected_failure = None
    read_fine = set()
    for first, second in pairs:
        for index in (first, second):
            if index in read_fine or expected_failure is not None:
                continue
            status, _, err = run([plandrex, names[index], names[index]])
            if status != 0:
                expected_failure = (status, err)
            read_fine.add(index)
        if expected_failure is not None:
            break
        expected.append(plandrex_report(plandrex, names[first], names[second])[1])

    options = ["--base"] if base else []
    for form in ("csv", "json"):
        args = [table, "report"] + (["--json"] if form == "json" else []) + options + names
        status, out, err = run(args)
        where = f"{case} {form} {[n.decode('utf-8', 'replace') for n in names]}"
        if expected_failure is not None:
            if status != expected_failure[0] or out:
                fail(where, f"status {status}, output {out!r}; plandrex gave {expected_failure}")
            elif b": Invalid" not in err and b": Unable" not in err and b": Could not" not in err:
                # The reader's own reason, after the file name.
                fail(where, f"no reader reason in {err!r}")
            continue
        if status != 0 or err:
            fail(where, f"status {status}, stderr {err!r}")
            continue
        if form == "csv":
            rows = csv_rows(out)
            if rows[0] != ["first", "second"] + FIGURES + ["date_1", "date_2"]:
                fail(where, f"header {rows[0]}")
                continue
            got = [(r[0].encode("utf-8", "surrogateescape"), r[1].encode("utf-8", "surrogateescape"),
                    [int(v) for v in r[2:-2]], r[-2:]) for r in rows[1:]]
            want = [(names[a], names[b], figures, [name_date(names[a]) or "", name_date(names[b]) or ""])
                    for (a, b), figures in zip(pairs, expected)]
        else:
            rows = json_rows(out)
            if any(list(r.keys()) != ["first", "second"] + FIGURES + ["date_1", "date_2"]
                   for r in rows):
                fail(where, f"keys {[list(r.keys()) for r in rows]}")
                continue
            if any(type(r[k]) is not int for r in rows for k in FIGURES):
                fail(where, "a figure is not a JSON number")
            got = [(r["first"], r["second"], [r[k] for k in FIGURES], [r["date_1"], r["date_2"]])
                   for r in rows]
            want = [(names[a].decode("utf-8", "replace"), names[b].decode("utf-8", "replace"),
                     figures, [name_date(names[a]), name_date(names[b])])
                    for (a, b), figures in zip(pairs, expected)]
        if got != want:
            fail(where, f"rows {got} differ from plandrex's {want}")


def name_date(name):
    """The date a graph's name carries, ISO, or None: the first run of exactly eight digits that
    is a valid YYYYMMDD, or YYYY-MM-DD, starting first in the base name; years 1970-2100."""
    base = os.path.basename(name)
    if isinstance(base, bytes):
        base = base.decode("latin-1")
    for m in re.finditer(r"(?<![0-9])(?:([0-9]{4})-([0-9]{2})-([0-9]{2})|([0-9]{4})([0-9]{2})([0-9]{2}))(?![0-9])",
                         base):
        y, mo, d = [int(v) for v in (m.group(1, 2, 3) if m.group(1) else m.group(4, 5, 6))]
        try:
            if 1970 <= y <= 2100:
                return datetime.date(y, mo, d).isoformat()
        except ValueError:
            pass
    return None


def check_nodes(rng, plandrex, table, work, case):
    names = []
    for i in range(2):
        name = os.path.join(work, b"nodes-%d.zng" % i)
        with open(name, "wb") as f:
            text = random_graph(rng, rng.random() < 0.3)
            f.write((widened(text) if rng.random() < 0.3 else text).encode())
        names.append(name)
    status, listing, _ = run([plandrex, "-l", names[0], names[1]])
    sides = {"<": "first", ">": "second", "|": "both"}
    want = [(int(line.split()[1]), sides[line.split()[0]])
            for line in listing.decode().splitlines()]
    status_csv, out_csv, err_csv = run([table, "nodes", names[0], names[1]])
    status_json, out_json, err_json = run([table, "nodes", "--json", names[0], names[1]])
    if status != 0 or status_csv != 0 or status_json != 0 or err_csv or err_json:
        fail(case, f"nodes statuses {status} {status_csv} {status_json}: {err_csv!r} {err_json!r}")
        return
    rows = csv_rows(out_csv)
    got_csv = [(int(a), s) for a, s in rows[1:]] if rows[0] == ["as", "in"] else None
    got_json = [(r["as"], r["in"]) for r in json_rows(out_json)]
    if got_csv != want or got_json != want:
        fail(case, f"nodes: csv {got_csv} json {got_json} want {want}")


def relationship(flag, direction):
    if flag == 0:
        return "unknown"
    return {1: "p2c", -1: "c2p", 0: "p2p"}[direction]


def check_edges(rng, table, work, case):
    differential = rng.random() < 0.5
    nodes = sorted(rng.sample(range(1, 65536), rng.randint(2, 30)))
    pairs = sorted({tuple(sorted(rng.sample(nodes, 2))) for _ in range(rng.randint(0, 60))})
    lines = []
    for a, b in pairs:
        cols = [a, b, rng.randint(0, 1), rng.choice([-1, 0, 1]), rng.randint(0, 2 ** 32 - 1),
                rng.randint(0, 2 ** 64 - 1), rng.randint(0, 9), rng.randint(0, 99)]
        if differential:
            cols[2], cols[3] = 0, 0
            cols += [rng.randint(0, 1), rng.randint(0, 1), rng.choice([-1, 0, 1]),
                     rng.choice([-1, 0, 1]), rng.randint(0, 9), rng.randint(0, 99),
                     rng.randint(0, 9), rng.randint(0, 99)]
            cols += [rng.randint(0, 65535) for _ in range(6)]
            cols.append(rng.choice(["0.000000", "1.500000", "2.250000"]))
        lines.append(cols)
    text = "\n".join(["ZND" if differential else "ZNG", "1", "src", "", str(len(nodes)),
                      str(len(lines))] + [str(n) for n in nodes] +
                     [" ".join(str(c) for c in cols) for cols in lines]) + "\n"
    name = os.path.join(work, b"edges.zng")
    with open(name, "w") as f:
        f.write(text)
    columns = DIFFERENTIAL_COLUMNS if differential else PLAIN_COLUMNS
    relationships = (["relationship", "relationship_in_first", "relationship_in_second"]
                     if differential else ["relationship"])
    want = []
    for cols in lines:
        row = [str(c) for c in cols] + [relationship(cols[2], cols[3])]
        if differential:
            row += [relationship(cols[8], cols[10]), relationship(cols[9], cols[11])]
        want.append(row)
    status, out, err = run([table, "edges", name])
    rows = csv_rows(out)
    if status != 0 or err or rows[0] != columns + relationships or rows[1:] != want:
        fail(case, f"edges csv: status {status} {err!r}\n{out.decode()}\nwant {want}")
    status, out, err = run([table, "edges", "--json", name])
    got = [[str(r[k]) if not isinstance(r[k], float) else "%f" % r[k] for k in r]
           for r in json_rows(out)]
    if status != 0 or got != want:
        fail(case, f"edges json: status {status} {err!r} {got} want {want}")

SNAPSHOT_COLUMNS = ["graph", "date", "ases", "ases_wide", "edges", "edges_peering",
                    "edges_directed", "edges_unoriented", "days", "ases_new", "ases_gone",
                    "edges_new", "edges_gone", "edges_changed"]
AS_COLUMNS = ["graph", "date", "as", "degree", "providers", "customers", "peers", "unknown",
              "edges_new", "edges_gone"]
HISTORY_COLUMNS = ["as_1", "as_2", "first_seen", "last_seen", "snapshots", "returns",
                   "relationship_first", "relationship_last", "relationship_changes"]
REVERSED = {"p2c": "c2p", "c2p": "p2c", "p2p": "p2p", "unknown": "unknown"}


def series_graph_text(rng, nodes, edges):
    """A plain graph file of the nodes and {(a, b): (flag, direction)}, lines in random order
    and written from either end, with a repeated line now and then."""
    lines = []
    for (a, b), (flag, direction) in edges.items():
        if rng.random() < 0.5:
            a, b, direction = b, a, -direction
        lines.append(f"{a} {b} {flag} {direction} 1 2 3 4")
        if rng.random() < 0.05:
            lines.append(lines[-1])
    rng.shuffle(lines)
    return "\n".join(["ZNG", "1", "s", "", str(len(nodes)), str(len(lines))] +
                     [str(n) for n in sorted(nodes)] + lines) + "\n"


def random_series(rng, count):
    """Texts of graphs that evolve: adjacencies stay, go, come back and change relationship."""
    nodes = set(rng.sample(range(1, 60), rng.randint(2, 25)))
    edges = {}
    texts = []
    for _ in range(count):
        if rng.random() < 0.15:
            texts.append(random_graph(rng, differential=True))
            continue
        nodes = {n for n in nodes if rng.random() < 0.9} | set(rng.sample(range(1, 60), 4))
        nodes = nodes or {1, 2}
        edges = {k: v for k, v in edges.items()
                 if k[0] in nodes and k[1] in nodes and rng.random() < 0.8}
        for k in list(edges):
            if rng.random() < 0.2:
                edges[k] = (rng.choice([0, 1]), rng.choice([-1, 0, 1]))
        for _ in range(rng.randint(0, 25)):
            a, b = rng.choice(sorted(nodes)), rng.choice(sorted(nodes))
            if a != b or rng.random() < 0.1:
                edges[(min(a, b), max(a, b))] = (rng.choice([0, 1]), rng.choice([-1, 0, 1]))
        texts.append(series_graph_text(rng, nodes, edges))
    return texts


def graph_tables(table, name):
    """A graph as plandrex-table shows it: its AS numbers (from nodes) and {(as_1, as_2):
    relationship} (from edges)."""
    _, out, _ = run([table, "nodes", name, name])
    ases = {int(r[0]) for r in csv_rows(out)[1:]}
    _, out, _ = run([table, "edges", name])
    rows = csv_rows(out)
    column = rows[0].index("relationship")
    return ases, {(int(r[0]), int(r[1])): r[column] for r in rows[1:]}


def snapshot_model(names, dates, graphs):
    rows = []
    for i, (ases, edges) in enumerate(graphs):
        kinds = list(edges.values())
        row = [names[i], dates[i], len(ases), sum(1 for a in ases if a > 65535), len(edges),
               kinds.count("p2p"), kinds.count("p2c") + kinds.count("c2p"), kinds.count("unknown")]
        if i == 0:
            row += [None] * 6
        else:
            old_ases, old = graphs[i - 1]
            days = None
            if dates[i] and dates[i - 1]:
                days = (datetime.date.fromisoformat(dates[i]) -
                        datetime.date.fromisoformat(dates[i - 1])).days
            changed = sum(1 for k in edges.keys() & old.keys()
                          if "unknown" not in (edges[k], old[k]) and edges[k] != old[k])
            row += [days, len(ases - old_ases), len(old_ases - ases), len(edges.keys() - old.keys()),
                    len(old.keys() - edges.keys()), changed]
        rows.append(row)
    return rows


def as_model(names, dates, graphs):
    rows = []
    for i, (ases, edges) in enumerate(graphs):
        old_ases, old = graphs[i - 1] if i > 0 else (set(), {})
        counts = {a: {"degree": 0, "c2p": 0, "p2c": 0, "p2p": 0, "unknown": 0, "new": 0, "gone": 0}
                  for a in ases | old_ases}
        for (a, b), rel in edges.items():
            for end, seen in ((a, rel), (b, REVERSED[rel]))[:1 if a == b else 2]:
                counts[end]["degree"] += 1
                counts[end][seen] += 1
                counts[end]["new"] += (a, b) not in old
        for (a, b) in old.keys() - edges.keys():
            for end in (a,) if a == b else (a, b):
                counts[end]["gone"] += 1
        for a in sorted(counts):
            c = counts[a]
            # Seen from this AS: c2p means the other end is its provider.
            rows.append([names[i], dates[i], a, c["degree"], c["c2p"], c["p2c"], c["p2p"],
                         c["unknown"]] + ([c["new"], c["gone"]] if i > 0 else [None, None]))
    return rows


def history_model(names, dates, graphs):
    seen = {}
    for i, (_, edges) in enumerate(graphs):
        for k, rel in edges.items():
            seen.setdefault(k, []).append((i, rel))
    label = [dates[i] or names[i] for i in range(len(names))]
    rows = []
    for (a, b) in sorted(seen):
        times = seen[(a, b)]
        returns = sum(1 for (p, _), (q, _) in zip(times, times[1:]) if q > p + 1)
        changes = sum(1 for (_, r), (_, s) in zip(times, times[1:]) if r != s)
        rows.append([a, b, label[times[0][0]], label[times[-1][0]], len(times), returns,
                     times[0][1], times[-1][1], changes])
    return rows


def table_rows(table, args, form, columns, where):
    """The rows of a table command as lists of Python values (None for an empty cell), or None
    after a failure is recorded. CSV cells are compared as the model's values written out."""
    status, out, err = run([table] + args + (["--json"] if form == "json" else []))
    if status != 0 or err:
        fail(where, f"{args[0]} {form}: status {status}, stderr {err!r}")
        return None
    if form == "json":
        rows = json_rows(out)
        if any(list(r.keys()) != columns for r in rows):
            fail(where, f"{args[0]} json keys {[list(r.keys()) for r in rows][:2]}")
            return None
        return [[r[k] for k in columns] for r in rows]
    rows = csv_rows(out)
    if rows[0] != columns:
        fail(where, f"{args[0]} csv header {rows[0]}")
        return None
    return rows[1:]


def as_csv(row):
    return ["" if v is None else v.decode("utf-8", "surrogateescape") if isinstance(v, bytes)
            else str(v) for v in row]


def as_json(row):
    return [v.decode("utf-8", "replace") if isinstance(v, bytes) else v for v in row]


def check_series(rng, table, work, case):
    count = rng.randint(1, 5)
    wide = rng.random() < 0.3
    texts = [widened(t) if wide else t for t in random_series(rng, count)]
    dating = rng.choice(["none", "names", "iso-names", "option", "unordered"])
    start = datetime.date(rng.randint(1970, 2090), rng.randint(1, 12), rng.randint(1, 28))
    days = sorted(rng.sample(range(0, 3000), count))
    if dating == "unordered":
        rng.shuffle(days)
    stamps = [start + datetime.timedelta(days=d) for d in days]
    names = []
    for i, text in enumerate(texts):
        if dating in ("names", "unordered"):
            stem = b"as-%s-%d" % (stamps[i].strftime("%Y%m%d").encode(), i)
        elif dating == "iso-names":
            stem = b"x%d_%s" % (i, stamps[i].isoformat().encode())
        else:
            stem = random_name(rng, work, i)[len(work) + 1:-4]
        name = os.path.join(work, stem + b".zng")
        with open(name, "w") as f:
            f.write(text)
        names.append(name)
    options = []
    if dating == "option":
        options = ["--dates", ",".join(d.isoformat() for d in stamps)]
    elif dating == "unordered":
        options = ["--unordered"]
    dates = [stamps[i].isoformat() if dating != "none" else None for i in range(count)]
    graphs = [graph_tables(table, n) for n in names]
    where = f"{case} {dating} wide={wide} {[n.decode('utf-8', 'replace') for n in names]}"
    for command, columns, model in (("snapshots", SNAPSHOT_COLUMNS, snapshot_model),
                                    ("ases", AS_COLUMNS, as_model),
                                    ("history", HISTORY_COLUMNS, history_model)):
        want = model(names, dates, graphs)
        for form, convert in (("csv", as_csv), ("json", as_json)):
            got = table_rows(table, [command] + options + names, form, columns, where)
            want_rows = [convert(r) for r in want]
            if got is not None and got != want_rows:
                first = next((i for i, (g, w) in enumerate(zip(got, want_rows)) if g != w),
                             min(len(got), len(want_rows)))
                fail(where, f"{command} {form}: {len(got)} rows, {len(want_rows)} wanted; row "
                     f"{first}: {got[first:first + 1]} want {want_rows[first:first + 1]}")
    if dating == "unordered" and count > 1 and days != sorted(days):
        status, out, err = run([table, "history"] + names)
        if status != 1 or out or b"the dates go backwards" not in err:
            fail(where, f"backwards dates: status {status} {err!r}")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("plandrex")
    parser.add_argument("table")
    parser.add_argument("--cases", type=int, default=150)
    parser.add_argument("--seed", type=int, default=1)
    options = parser.parse_args()
    rng = random.Random(options.seed)
    with tempfile.TemporaryDirectory() as work:
        work = work.encode()
        for case in range(options.cases):
            check_report(rng, options.plandrex, options.table, work, case)
            check_series(rng, options.table, work, case)
            if case % 3 == 0:
                check_nodes(rng, options.plandrex, options.table, work, case)
                check_edges(rng, options.table, work, case)
            if len(failures) > 5:
                break
    for failure in failures:
        print(failure)
    print(f"{options.cases} cases, {len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
