"""Another program on a database file, as an office's own script would use it: Python's sqlite3
module with its defaults (SQLite's own busy wait, 5 seconds).

    other_program.py FILE             keeps the file open
    other_program.py FILE STATEMENT   runs the statement and commits it every millisecond

Says "ready" once it has the file open (and its first write committed or refused), then goes on
until its standard input closes, and ends with the line "COMMITS REFUSED".
"""

import select
import sqlite3
import sys


def main():
    connection = sqlite3.connect(sys.argv[1])
    statement = sys.argv[2] if len(sys.argv) > 2 else None
    commits = refused = 0
    if statement is None:
        connection.execute("SELECT count(*) FROM sqlite_master").fetchall()
    ready = False
    while True:
        if statement is not None:
            try:
                connection.execute(statement)
                connection.commit()
                commits += 1
            except sqlite3.OperationalError:
                connection.rollback()
                refused += 1
        if not ready:
            print("ready", flush=True)
            ready = True
        wait = 0.001 if statement is not None else None
        if select.select([sys.stdin], [], [], wait)[0]:
            break
    print(commits, refused, flush=True)


if __name__ == "__main__":
    main()
