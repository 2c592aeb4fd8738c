<?php
declare(strict_types=1);

require_once __DIR__ . '/session.php';

function page_head(string $title): void
{
    header('Content-Type: text/html; charset=utf-8');
    header('Cache-Control: no-store');
    $user = current_user();
    echo "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">";
    echo '<title>' . h($title) . ' - arraysuite</title><link rel="stylesheet" href="style.css"></head><body>';
    echo '<header><h1>arraysuite</h1>';
    if ($user !== null) {
        echo '<nav>';
        foreach (['overview.php' => 'Overview', 'events.php' => 'Events', 'create.php' => 'Create', 'spares.php' => 'Spares',
                     'settings.php' => 'Settings', 'schedules.php' => 'Schedules',
                     'notify.php' => 'Notifications'] + (is_admin() ? ['replace.php' => 'Replace a disk'] : []) as $href => $label) {
            echo '<a href="' . h($href) . '">' . h($label) . '</a> ';
        }
        echo '<form method="post" action="logout.php" class="inline">' . csrf_field()
            . '<button type="submit">Log off ' . h($user) . '</button></form>'
            . (is_admin() ? '' : ' <span id="read-only">(read only: not an administrator)</span>') . '</nav>';
    }
    echo '</header><main><h2>' . h($title) . '</h2>';
}

function page_foot(): void
{
    echo "</main><script src=\"app.js\"></script></body></html>\n";
}

function flash(?string $ok, ?string $err): void
{
    if ($ok !== null && $ok !== '') {
        echo '<p class="ok" id="message">' . h($ok) . '</p>';
    }
    if ($err !== null && $err !== '') {
        echo '<p class="error" id="message">' . h($err) . '</p>';
    }
}
