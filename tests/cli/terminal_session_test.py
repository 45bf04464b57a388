#!/usr/bin/python3
"""vexalo-cli on a terminal (a pty) and under Ctrl+C: completion, history
across sessions, cancelling lines and statements, leaving; a run stopped by
SIGINT saves the user data and ends with 130. Usage: SCRIPT VEXALO_CLI"""
import os
import signal
import subprocess
import sys
import tempfile
import time

import pexpect

CLI = sys.argv[1]
# Generous: the machine running the tests may be busy. The latency is
# printed, not judged here.
TIMEOUT = 20
LONG = 'sum(sin(k),k,1,2*10^9)'


def session(env):
    child = pexpect.spawn(CLI, env=env, encoding='utf-8', timeout=TIMEOUT, dimensions=(24, 100))
    child.expect_exact('Ctrl+D leaves, Ctrl+C stops a statement')
    child.expect_exact('vexalo> ')
    return child


def answer(child, line, expected):
    child.send(line + '\r')
    child.expect_exact('>  ' + expected)
    child.expect_exact('vexalo> ')


def main():
    home = tempfile.mkdtemp(prefix='vx_term_')
    env = dict(os.environ, HOME=home, XDG_STATE_HOME=os.path.join(home, 'state'), TERM='xterm', NO_COLOR='1')

    child = session(env)
    child.send('polyro\t')                     # completes to "polyroots("
    time.sleep(0.3)
    answer(child, '{1,-3,2})', '{2,1}')
    child.send(LONG + '\r')
    time.sleep(1.0)
    start = time.monotonic()
    child.sendcontrol('c')
    child.expect_exact('>  Error: Operation Aborted')
    latency = time.monotonic() - start
    child.expect_exact('vexalo> ')
    answer(child, 'new(q,6)', '6')             # the session goes on
    child.send('1+')
    child.sendcontrol('c')                      # clears the line
    child.expect_exact('vexalo> ')
    child.send('(q+\r')
    child.expect_exact('...> ')
    child.sendcontrol('d')                      # drops the unfinished statement
    child.expect_exact('vexalo> ')
    answer(child, 'q*7', '42')
    child.send('quit\r')
    child.expect(pexpect.EOF)
    child.close()
    assert child.exitstatus == 0, child.exitstatus

    child = session(env)                        # the history came back
    answer(child, '\x1b[A', 'Error: Unknown Variable \'q\'')
    child.sendcontrol('d')
    child.expect(pexpect.EOF)
    child.close()
    assert child.exitstatus == 0, child.exitstatus
    history = open(os.path.join(home, 'state', 'vexalo', 'history')).read()
    assert 'q*7' in history and '1+' not in history.split('\n'), history

    # A run: Ctrl+C ends it with 130 after saving the user data; the
    # statements after the stopped one do not run.
    data = os.path.join(home, 'data')
    run = subprocess.Popen([CLI, '--data-dir', data, '-e', 'new(r,5)\n' + LONG + '\n1+1'],
                           stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    time.sleep(1.0)
    run.send_signal(signal.SIGINT)
    out, _ = run.communicate(timeout=TIMEOUT)
    assert (run.returncode, out) == (130, '>  5\n>  Error: Operation Aborted\n'), (run.returncode, out)
    saved = subprocess.run([CLI, '--data-dir', data, '-e', 'r'], capture_output=True, text=True)
    assert saved.stdout == '>  5\n', saved.stdout

    print('Ctrl+C to "Error: Operation Aborted": %.1f ms' % (latency * 1000))


main()
