<?php
// The GUI's own audit records: the log-ons, which are no controller
// operation and so leave no record of the module's. Same socket, tag and
// line format as the programs' records (client/audit.cpp), so that
// `journalctl -t arraysuite-audit` lists them all together.
declare(strict_types=1);

final class Audit
{

    /** A value as key="value": quotes and backslashes escaped, control bytes as \xNN (one record, one line). */
    public static function quoted(string $v): string
    {
        $out = preg_replace_callback('/["\\\\]|[\x00-\x1f\x7f]/', static function (array $m): string {
            $c = $m[0];
            return $c === '"' || $c === '\\' ? '\\' . $c : sprintf('\\x%02X', ord($c));
        }, $v);
        return '"' . $out . '"';
    }

    /**
     * The name a log-on record shows for what was typed as the account:
     * the name itself for an account of this system, else a placeholder,
     * since a name that is no account is often a password typed into the
     * wrong field.
     */
    public static function accountName(string $typed): string
    {
        if ($typed === '' || strlen($typed) > 64) {
            return '(no such account)';
        }
        if (!function_exists('posix_getpwnam')) {
            return '(not recorded)';
        }
        return posix_getpwnam($typed) !== false ? $typed : '(no such account)';
    }

    /**
     * Writes one record now; never waits and never fails the caller. A
     * record that cannot be written is reported in PHP's error log once,
     * not at every log-on, until a record is written again.
     */
    public static function write(string $user, string $what, int $result, string $text): void
    {
        // authpriv (10), notice for a success, warning for a failure.
        $priority = (10 << 3) | ($result === 0 ? 5 : 4);
        $stamp = date('M') . ' ' . sprintf('%2d', (int)date('j')) . ' ' . date('H:i:s');
        $from = (string)($_SERVER['REMOTE_ADDR'] ?? '-');
        $line = '<' . $priority . '>' . $stamp . ' arraysuite-audit[' . getmypid() . ']: tool=gui user=' . self::quoted($user)
            . ' from=' . self::quoted($from !== '' ? $from : '-') . ' what=' . self::quoted($what) . ' result=' . $result
            . ' text=' . self::quoted($text);
        $path = getenv('ARRAY_AUDIT_SOCKET');
        if (!is_string($path) || $path === '') {
            $path = '/dev/log';
        }
        $errno = 0;
        $errstr = '';
        $sock = @stream_socket_client('udg://' . $path, $errno, $errstr, 1);
        if ($sock === false) {
            self::failed($path . ': ' . ($errstr !== '' ? $errstr : 'cannot connect'));
            return;
        }
        // A log that does not read never holds up the log-on.
        stream_set_blocking($sock, false);
        $sent = @fwrite($sock, $line);
        fclose($sock);
        if ($sent !== strlen($line)) {
            self::failed($path . ': the record was not taken');
        } elseif (is_file(self::marker())) {
            @unlink(self::marker());
        }
    }

    /** Where the workers note that the failure was reported (the state directory they share). */
    private static function marker(): string
    {
        $state = getenv('ARRAY_GUI_STATE');
        return ($state !== false && $state !== '' ? rtrim($state, '/') : '/var/lib/arraysuite/gui') . '/logon/audit-failure';
    }

    private static function failed(string $why): void
    {
        $marker = self::marker();
        if (@file_get_contents($marker) === $why) {
            return;
        }
        @file_put_contents($marker, $why, LOCK_EX);
        error_log('audit record not written: ' . $why);
    }
}
