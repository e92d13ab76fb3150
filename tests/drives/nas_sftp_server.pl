#!/usr/bin/perl
# OpenSSH's sftp-server as a small NAS offers it: without the posix-rename
# and hardlink extensions, so a client falls back to the plain SFTP rename
# (which refuses an existing target) and has no hard links. The requests are
# denied as well, and the server's version reply is rewritten without them.
use strict;
use warnings;

my @hidden = ('posix-rename@openssh.com', 'hardlink@openssh.com');
my $server = '/usr/lib/openssh/sftp-server';

pipe(my $from_server, my $to_client) or die "pipe: $!";
my $pid = fork() // die "fork: $!";
if ($pid == 0) {
    close $from_server;
    open(STDOUT, '>&', $to_client) or die "dup: $!";
    exec($server, '-P', 'posix-rename,hardlink') or die "exec $server: $!";
}
close $to_client;
binmode $from_server;
binmode STDOUT;

sub read_exactly {
    my ($n) = @_;
    my $data = '';
    while (length($data) < $n) {
        my $got = sysread($from_server, $data, $n - length($data), length($data));
        return undef unless $got;
    }
    return $data;
}

sub write_all {
    my ($data) = @_;
    while (length $data) {
        my $put = syswrite(STDOUT, $data) // exit 1;
        substr($data, 0, $put) = '';
    }
}

# The first packet is SSH_FXP_VERSION (type 2): a version number, then
# extension name/data string pairs.
my $head = read_exactly(4);
if (defined $head) {
    my $body = read_exactly(unpack('N', $head)) // exit 1;
    my ($type, $version, $rest) = unpack('C N a*', $body);
    my $kept = '';
    ($kept, $rest) = ($rest, '') unless $type == 2;
    while (length $rest) {
        my ($name, $data);
        ($name, $data, $rest) = unpack('N/a N/a a*', $rest);
        $kept .= pack('N/a N/a', $name, $data) unless grep { $_ eq $name } @hidden;
    }
    my $reply = pack('C N', $type, $version) . $kept;
    write_all(pack('N', length $reply) . $reply);
    my $buffer;
    while (sysread($from_server, $buffer, 65536)) {
        write_all($buffer);
    }
}
waitpid($pid, 0);
exit($? >> 8);
